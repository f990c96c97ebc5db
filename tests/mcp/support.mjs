// What the MCP tests share: a sandbox platform as a process of its own
// (orvalen-sandbox), orvalen-cli mcp driven by the official SDK's client or
// by hand, and waits on what a process writes.
//
//   const sandbox = await Sandbox.start(['--fault', 'stall:taobao.taobaoke.items.get']);
//   const { client, stderr } = await connect(sandbox.configUrl);
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { createServer } from 'node:net';
import { Client } from '@modelcontextprotocol/sdk/client/index.js';
import { StdioClientTransport } from '@modelcontextprotocol/sdk/client/stdio.js';

export const cli = process.env.ORVALEN_CLI;
const sandboxProgram = process.env.ORVALEN_SANDBOX;
if (!cli || !sandboxProgram) throw new Error('set ORVALEN_CLI and ORVALEN_SANDBOX');

export const member = 'peldrun';
const configPath =
  'taoke/3f9a1c5e7b2d4086a1e3c5b7d9f10234/c4e6a8b0d2f41638e5a7c9b1d3f50789/api.php';

// Everything a stream has written so far, and a wait for a pattern in it.
export class Output {
  constructor(stream) {
    this.text = '';
    this.waiters = [];
    stream.setEncoding('utf8');
    stream.on('data', (chunk) => {
      this.text += chunk;
      this.waiters = this.waiters.filter(({ pattern, resolve }) => {
        const found = this.text.match(pattern);
        if (found) resolve(found);
        return !found;
      });
    });
  }
  waitFor(pattern) {
    const found = this.text.match(pattern);
    if (found) return Promise.resolve(found);
    return new Promise((resolve) => this.waiters.push({ pattern, resolve }));
  }
}

export async function freePort() {
  const server = createServer();
  server.listen(0, '127.0.0.1');
  await once(server, 'listening');
  const { port } = server.address();
  server.close();
  await once(server, 'close');
  return port;
}

export const configUrlOn = (port) => `http://127.0.0.1:${port}/${configPath}`;

export class Sandbox {
  static async start(args = [], port = 0) {
    const child = spawn(sandboxProgram, ['--port', String(port), ...args], {
      stdio: ['ignore', 'pipe', 'pipe'],
    });
    const sandbox = new Sandbox(child);
    const [, listening] = await sandbox.stdout.waitFor(/listening on http:\/\/127\.0\.0\.1:(\d+)\//);
    sandbox.port = Number(listening);
    sandbox.configUrl = configUrlOn(sandbox.port);
    return sandbox;
  }
  constructor(child) {
    this.child = child;
    this.stdout = new Output(child.stdout);
    this.log = new Output(child.stderr); // one line per request
  }
  requests(path) {
    return this.log.text.split('\n').filter((line) => line.includes(path)).length;
  }
  configReads() {
    return this.requests(configPath);
  }
  async stop() {
    if (this.child.exitCode !== null) return;
    this.child.kill('SIGTERM');
    await once(this.child, 'exit');
  }
}

// The SDK's client on `orvalen-cli --config URL mcp`; its standard error
// kept, and any error the client meets (a line on standard output that is
// not a protocol message among them) collected.
export async function connect(configUrl) {
  const transport = new StdioClientTransport({
    command: cli,
    args: ['--config', configUrl, 'mcp'],
    stderr: 'pipe',
    env: { ...process.env, LC_ALL: 'C.UTF-8' },
  });
  const stderr = new Output(transport.stderr);
  const client = new Client({ name: 'orvalen-mcp-test', version: '1.0.0' });
  const errors = [];
  client.onerror = (error) => errors.push(error);
  await client.connect(transport);
  return { client, stderr, errors };
}

// orvalen-cli mcp by hand: raw lines in, parsed lines out.
export function rawServer(configUrl) {
  const child = spawn(cli, ['--config', configUrl, 'mcp'], { stdio: ['pipe', 'pipe', 'pipe'] });
  const out = new Output(child.stdout);
  let read = 0;
  return {
    child,
    send: (line) => child.stdin.write(line + '\n'),
    // The next message the server writes.
    async next() {
      await out.waitFor(new RegExp(`^(?:[^\\n]*\\n){${read + 1}}`));
      return JSON.parse(out.text.split('\n')[read++]);
    },
  };
}
