#include "app/form/core/WindowLayout.h"

#include <algorithm>

namespace orvalen {
namespace {

// The form's own places (the search bar's two rows), which the resize steps
// then stretch.
constexpr WindowLayout kForm = {{{
    {6, 6, 223, 21},      // Edit2
    {6, 30, 223, 627},    // TreeView1
    {234, 1, 705, 69},    // GroupBox1
    {10, 17, 50, 16},     // Label1
    {60, 13, 173, 21},    // Edit1
    {243, 17, 36, 16},    // Label3
    {279, 13, 117, 22},   // ComboBoxEx1
    {398, 13, 117, 22},   // ComboBoxEx2
    {9, 43, 50, 16},      // Label6
    {60, 40, 93, 21},     // ComboBox3
    {173, 43, 36, 16},    // Label2
    {209, 40, 128, 21},   // ComboBox2
    {355, 43, 36, 16},    // Label4
    {390, 39, 62, 22},    // SpinEdit1
    {453, 39, 62, 22},    // SpinEdit2
    {520, 13, 86, 47},    // Button1
    {611, 13, 86, 47},    // Button2
    {234, 69, 705, 605},  // GroupBox3
    {3, 7, 700, 595},     // WebBrowser1
    {23, 661, 105, 16},   // Label5
    {133, 661, 105, 16},  // Label7
}}};

// The third row the buttons take in a narrow search bar.
constexpr int kThirdRow = 28, kButtonHeight = 24, kButtonGap = 5, kRightMargin = 8;

Rect& At(WindowLayout& l, Control c) {
  return l.places[static_cast<std::size_t>(c)];
}

}  // namespace

WindowLayout LayOut(int width, int height) {
  const int cw = std::max(width, kMinimumWidth), ch = std::max(height, kMinimumHeight);
  WindowLayout l = kForm;
  const int bar_width = cw - 240;
  const bool narrow = bar_width < kForm.Of(Control::GroupBox1).width;
  const int taller = narrow ? kThirdRow : 0;
  At(l, Control::TreeView1).height = ch - 54;
  At(l, Control::GroupBox1).width = bar_width;
  At(l, Control::GroupBox1).height += taller;
  if (narrow) {
    const int y = kForm.Of(Control::SpinEdit1).y + kThirdRow;
    const int second = bar_width - kRightMargin - kForm.Of(Control::Button2).width;
    const int first = second - kButtonGap - kForm.Of(Control::Button1).width;
    At(l, Control::Button1) = {first, y, kForm.Of(Control::Button1).width, kButtonHeight};
    At(l, Control::Button2) = {second, y, kForm.Of(Control::Button2).width, kButtonHeight};
  }
  Rect& frame = At(l, Control::GroupBox3);
  frame = {frame.x, frame.y + taller, bar_width, ch - 75 - taller};
  At(l, Control::WebBrowser1) = {3, 7, frame.width - 6, frame.height - 10};
  for (Control footer : {Control::Label5, Control::Label7}) At(l, footer).y = ch - 20;
  return l;
}

}  // namespace orvalen
