// Where the controls go: the form's own places at its first size, the
// resize steps beyond it, and the narrow search bar down to the minimum,
// with every control inside its parent and none on another.
#include "app/form/core/WindowLayout.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

bool Inside(const Rect& inner, int width, int height) {
  return inner.x >= 0 && inner.y >= 0 && inner.x + inner.width <= width &&
         inner.y + inner.height <= height;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(WindowLayoutTest, TheFirstSizeIsTheFormAndLargerStretchesByTheResizeSteps) {
  const WindowLayout first = LayOut(kFormWidth, kFormHeight);
  EXPECT_EQ(first.Of(Control::TreeView1), (Rect{6, 30, 223, 627}));
  EXPECT_EQ(first.Of(Control::GroupBox1), (Rect{234, 1, 705, 69}));
  EXPECT_EQ(first.Of(Control::Button2), (Rect{611, 13, 86, 47}));
  EXPECT_EQ(first.Of(Control::GroupBox3), (Rect{234, 69, 705, 606}));
  EXPECT_EQ(first.Of(Control::WebBrowser1), (Rect{3, 7, 699, 596}));
  EXPECT_EQ(first.Of(Control::Label7), (Rect{133, 661, 105, 16}));

  const WindowLayout large = LayOut(1600, 1000);
  EXPECT_EQ(large.Of(Control::TreeView1).height, 1000 - 54);
  EXPECT_EQ(large.Of(Control::GroupBox1), (Rect{234, 1, 1600 - 240, 69}));
  EXPECT_EQ(large.Of(Control::GroupBox3), (Rect{234, 69, 1600 - 240, 1000 - 75}));
  EXPECT_EQ(large.Of(Control::WebBrowser1), (Rect{3, 7, 1600 - 246, 1000 - 85}));
  EXPECT_EQ(large.Of(Control::Button1), first.Of(Control::Button1));  // left places stay
  EXPECT_EQ(large.Of(Control::Label5).y, 980);
}

// Every width down to the minimum: the search bar's controls inside it and
// apart (a caption may touch its own control), the buttons below the other
// rows where the bar is narrow.
TEST(WindowLayoutTest, EveryControlFitsAndStaysApartDownToTheMinimum) {
  for (int width = kMinimumWidth - 100; width <= kFormWidth + 50; width += 5) {
    const WindowLayout l = LayOut(width, kMinimumHeight);
    const int cw = std::max(width, kMinimumWidth);
    const Rect bar = l.Of(Control::GroupBox1);
    EXPECT_EQ(bar.x + bar.width, cw - 6) << width;
    const Control inputs[] = {Control::Edit1,     Control::ComboBoxEx1, Control::ComboBoxEx2,
                              Control::ComboBox3, Control::ComboBox2,   Control::SpinEdit1,
                              Control::SpinEdit2, Control::Button1,     Control::Button2};
    for (int c = static_cast<int>(Control::Label1); c <= static_cast<int>(Control::Button2); ++c) {
      EXPECT_TRUE(Inside(l.places[c], bar.width, bar.height)) << width << " control " << c;
    }
    for (const Control a : inputs) {
      for (const Control b : inputs) {
        if (a < b) {
          EXPECT_FALSE(Overlap(l.Of(a), l.Of(b))) << width;
        }
      }
    }
    const Rect frame = l.Of(Control::GroupBox3);
    EXPECT_EQ(frame.y, bar.y + bar.height - 1) << width;
    EXPECT_EQ(frame.y + frame.height, kMinimumHeight - 6) << width;
    EXPECT_EQ(l.Of(Control::TreeView1).y + l.Of(Control::TreeView1).height, kMinimumHeight - 24);
  }
  EXPECT_EQ(LayOut(kMinimumWidth, kMinimumHeight).Of(Control::Button2).y, 67);
}

}  // namespace
}  // namespace orvalen
