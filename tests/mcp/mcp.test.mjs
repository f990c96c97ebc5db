// orvalen-cli mcp as an assistant's client meets it: the official MCP
// TypeScript SDK's client over stdio against the sandbox platform. The SDK
// negotiates the protocol, and checks each tool's structuredContent
// against its outputSchema; these tests check what it does not: every link
// credits the member, the filters reach the platform, the errors are the
// protocol's, the configuration is read once and again after a failure,
// and a cancelled call is aborted.
import assert from 'node:assert/strict';
import { once } from 'node:events';
import { after, before, describe, test } from 'node:test';
import { ErrorCode, McpError } from '@modelcontextprotocol/sdk/types.js';
import { Sandbox, configUrlOn, connect, freePort, member, rawServer } from './support.mjs';

// A link as an assistant would hand it on: a web address on the platform
// that names the member.
function assertCredited(link, sandbox) {
  const url = new URL(link);
  assert.equal(url.protocol, 'http:');
  assert.equal(url.host, `127.0.0.1:${sandbox.port}`);
  assert.equal(url.searchParams.get('nick'), member, link);
}

describe('the tools', () => {
  let sandbox;
  let session;
  before(async () => {
    sandbox = await Sandbox.start();
    session = await connect(sandbox.configUrl);
  });
  after(async () => {
    await session.client.close();
    await sandbox.stop();
  });

  test('are listed with their schemas', async () => {
    const { tools } = await session.client.listTools();
    assert.deepEqual(tools.map((t) => t.name).sort(), [
      'list_categories', 'marketplace_search_link', 'search_items', 'seller_shop_link',
    ]);
    for (const tool of tools) {
      assert.equal(tool.inputSchema.type, 'object');
      assert.equal(tool.outputSchema.type, 'object');
    }
    const linking = tools.filter((t) => t.name !== 'list_categories');
    for (const tool of linking) assert.match(tool.description, /credits the Orvalen member/);
  });

  test('search with the window filters, and every item links credited', async () => {
    const query = {
      keyword: '手机', area: '江浙沪', sort: 'price_asc', price_min: 10, price_max: 3000,
      credit_min: '1heart', credit_max: '5goldencrown', page: 2,
    };
    const result = await session.client.callTool({ name: 'search_items', arguments: query });
    assert.ok(!result.isError, JSON.stringify(result.content));
    const { total_results, page, items } = result.structuredContent;
    assert.equal(page, 2);
    assert.ok(total_results > 40 && items.length === 40, `${total_results} / ${items.length}`);
    const prices = items.map((i) => Number(i.price));
    assert.deepEqual(prices, [...prices].sort((a, b) => a - b));
    for (const item of items) {
      assertCredited(item.click_url, sandbox);
      assert.ok(Number(item.price) >= 10 && Number(item.price) <= 3000, item.price);
      assert.match(item.location, /^(江苏|浙江|上海)/);
      assert.ok(item.seller_credit.level >= 1 && item.seller_credit.level <= 20);
      assert.ok(!/[<>]/.test(item.title), item.title);
      assert.ok(result.content[0].text.includes(item.click_url));
    }
  });

  test('categories, a shop link and a marketplace search link', async () => {
    const top = await session.client.callTool({ name: 'list_categories', arguments: {} });
    const phones = top.structuredContent.categories.find((c) => c.name === '手机');
    assert.ok(phones?.is_parent, JSON.stringify(top.structuredContent).slice(0, 200));
    const under = await session.client.callTool({
      name: 'list_categories', arguments: { parent_cid: phones.cid },
    });
    assert.equal(under.structuredContent.parent_cid, phones.cid);
    assert.ok(under.structuredContent.categories.length > 0);

    const found = await session.client.callTool({ name: 'search_items', arguments: { cid: phones.cid } });
    const { nick } = found.structuredContent.items[0];
    const shop = await session.client.callTool({ name: 'seller_shop_link', arguments: { nick } });
    assert.ok(!shop.isError, JSON.stringify(shop.content));
    assertCredited(shop.structuredContent.click_url, sandbox);
    assert.match(shop.structuredContent.click_url, /[?&]sid=\d+/);
    const list = await session.client.callTool({
      name: 'marketplace_search_link', arguments: { keyword: '手机 壳' },
    });
    assertCredited(list.structuredContent.click_url, sandbox);
    assert.equal(new URL(list.structuredContent.click_url).searchParams.get('q'), '手机 壳');
    assert.equal(sandbox.configReads(), 1); // read once for every call
    assert.deepEqual(session.errors, []);
  });

  test('bad arguments, an unknown tool or method get the protocol errors', async () => {
    const refused = async (name, args, code, names) => {
      await assert.rejects(session.client.callTool({ name, arguments: args }), (error) => {
        assert.ok(error instanceof McpError, String(error));
        assert.equal(error.code, code);
        assert.match(error.message, names);
        return true;
      });
    };
    await refused('search_items', { page: 0 }, ErrorCode.InvalidParams, /'page'/);
    await refused('search_items', { sort: 'cheapest' }, ErrorCode.InvalidParams, /'sort'/);
    await refused('search_items', { price_min: 5 }, ErrorCode.InvalidParams, /'price_max'/);
    await refused('search_items', { colour: 'red' }, ErrorCode.InvalidParams, /'colour'/);
    await refused('list_categories', { parent_cid: '12a' }, ErrorCode.InvalidParams, /'parent_cid'/);
    await refused('seller_shop_link', {}, ErrorCode.InvalidParams, /'nick'/);
    await refused('buy_now', {}, ErrorCode.InvalidParams, /buy_now/);
    await assert.rejects(session.client.listResources(), { code: ErrorCode.MethodNotFound });
    await session.client.ping();
  });
});

test('a configuration that cannot be read is a tool error, read again on the next call', async () => {
  const port = await freePort();
  const { client, stderr } = await connect(configUrlOn(port));
  const failed = await client.callTool({ name: 'list_categories', arguments: {} });
  assert.equal(failed.isError, true);
  assert.match(failed.content[0].text, /configuration .*refused/);
  await stderr.waitFor(/list_categories failed: .*refused/);
  const sandbox = await Sandbox.start([], port);
  try {
    const listed = await client.callTool({ name: 'list_categories', arguments: {} });
    assert.ok(!listed.isError, JSON.stringify(listed.content));
    assert.ok(listed.structuredContent.categories.length > 0);
  } finally {
    await client.close();
    await sandbox.stop();
  }
});

test('a cancelled call is aborted at once, and the server answers on', async () => {
  const sandbox = await Sandbox.start(['--fault', 'stall:taobao.taobaoke.items.get']);
  const { client, stderr } = await connect(sandbox.configUrl);
  try {
    const cancel = new AbortController();
    const call = client.callTool({ name: 'search_items', arguments: { keyword: 'x' } }, undefined,
      { signal: cancel.signal });
    await sandbox.log.waitFor(/fault stall on taobao\.taobaoke\.items\.get/);
    cancel.abort('no longer wanted');
    await assert.rejects(call);
    // Ended by the abort, not by the client's time limit.
    const [line] = await stderr.waitFor(/search_items \(request \d+\) cancelled[^\n]*/);
    assert.match(line, /\(aborted\)$/);
    await client.ping();
    const listed = await client.callTool({ name: 'list_categories', arguments: {} });
    assert.ok(!listed.isError);
  } finally {
    await client.close();
    await sandbox.stop();
  }
});

test('by hand: version negotiation, parse errors, and the end of input', async () => {
  const server = rawServer('http://127.0.0.1:9/unused');
  const initialize = (id, version) => server.send(JSON.stringify({
    jsonrpc: '2.0', id, method: 'initialize',
    params: { protocolVersion: version, capabilities: {}, clientInfo: { name: 't', version: '1' } },
  }));
  initialize(1, '2024-11-05');
  assert.equal((await server.next()).result.protocolVersion, '2024-11-05');
  initialize(2, '1999-01-01');
  assert.equal((await server.next()).result.protocolVersion, '2025-11-25');
  server.send('{"jsonrpc": "2.0", "id": 3, "method": "ping"'); // cut short
  assert.deepEqual((await server.next()).error.code, -32700);
  server.send('[1, 2]');
  assert.deepEqual((await server.next()).error.code, -32600);
  server.send(JSON.stringify({ jsonrpc: '2.0', id: 'four', method: 'ping' }));
  assert.deepEqual(await server.next(), { jsonrpc: '2.0', id: 'four', result: {} });
  server.child.stdin.end();
  const [code] = await once(server.child, 'exit');
  assert.equal(code, 0);
});
