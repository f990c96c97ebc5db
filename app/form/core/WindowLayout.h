// WindowLayout: where the window's controls go for a client area of any
// size from the minimum up, in plain numbers.
//
//   const WindowLayout l = LayOut(945, 681);   // the window's first size
//   l.Of(Control::GroupBox3)                   // {234, 69, 705, 605}
//
// At 945 pixels wide and more, the search bar is the two rows of the
// window's form, and the resize steps hold: the tree takes the height less
// 54, the search bar and the results' frame the width less 240, the frame
// the height less 75 (the frame and the view below a search bar made
// taller, less that too), and the view fills its frame less 6 and 10. The
// footer links follow the bottom edge. Narrower, the two buttons go to a
// third row of the search bar, at its right, so that every control is in
// reach down to kMinimumWidth.
#pragma once

#include <array>
#include <cstddef>

namespace orvalen {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// The controls whose place the layout gives, in this order.
enum class Control {
  Edit2,
  TreeView1,
  GroupBox1,
  Label1,
  Edit1,
  Label3,
  ComboBoxEx1,
  ComboBoxEx2,
  Label6,
  ComboBox3,
  Label2,
  ComboBox2,
  Label4,
  SpinEdit1,
  SpinEdit2,
  Button1,
  Button2,
  GroupBox3,
  WebBrowser1,
  Label5,
  Label7,
  Count
};

// The window's first client size, and the least one every control fits.
inline constexpr int kFormWidth = 945, kFormHeight = 681;
inline constexpr int kMinimumWidth = 765, kMinimumHeight = 460;

struct WindowLayout {
  std::array<Rect, static_cast<std::size_t>(Control::Count)> places{};
  const Rect& Of(Control c) const { return places[static_cast<std::size_t>(c)]; }
};

// `width` and `height` below the minimum count as the minimum. Places are
// relative to the parent: the search bar's controls to GroupBox1, the view
// to GroupBox3, the rest to the window's client area.
WindowLayout LayOut(int width, int height);

}  // namespace orvalen
