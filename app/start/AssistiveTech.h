// AssistiveTech: whether a screen reader or other assistive technology is
// listening, and making the results page visible to it. Chromium builds no
// accessibility tree for its pages on Linux unless told to at start (it
// costs time on every page), so this runs before the first web view exists.
//
//   ExposeWebContentToAssistiveTech(AssistiveTechActive(env));
//
// Active means: Qt's own switch QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set, or
// the desktop's accessibility bus says it is enabled (org.a11y.Status
// IsEnabled, which the desktop sets when an assistive technology runs or
// the user asked for one).
#pragma once

namespace orvalen {

bool AssistiveTechActive();
// Tells the web engine to expose its pages when `active`; leaves it alone
// otherwise (and when the user already said).
void ExposeWebContentToAssistiveTech(bool active);

}  // namespace orvalen
