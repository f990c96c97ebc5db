// EngineFlags: what the web engine is told at its start, through
// QTWEBENGINE_CHROMIUM_FLAGS, before the first web view exists.
//
//   AllowChromiumAsRoot();                    // its sandbox refuses root
//   UseProxies(ProxySettings::FromEnvironment(lookup));
//
// The results view then takes its pictures through the same proxies as
// the window's own calls, and never a proxy for this machine. Flags the
// user set in QTWEBENGINE_CHROMIUM_FLAGS for the same ends are left as
// they are.
#pragma once

#include "platform/ProxySettings.h"

namespace orvalen {

void AllowChromiumAsRoot();
void UseProxies(const ProxySettings& proxies);

}  // namespace orvalen
