#pragma once

#include "toolkit/ControlPlacement.h"

// The viewer's controls: the design name each carries as its object name,
// and its place in the 400 x 320 design, which the viewer stretches to the
// screen when it shows.
namespace ViewerWindowLayout {
inline constexpr ControlPlace Backdrop{u"标签1", {0, 0, 400, 320}};
inline constexpr ControlPlace PictureBox{u"图片框1", {30, 28, 248, 176}};
inline constexpr ControlPlace CountLabel{u"标签2", {16, 8, 96, 24}};
inline constexpr ControlPlace NumberLabel{u"标签3", {120, 8, 144, 24}};
inline constexpr ControlPlace BackButton{u"超级按钮2", {102, 276, 22, 22}};
inline constexpr ControlPlace ForwardButton{u"超级按钮3", {152, 276, 22, 22}};
inline constexpr ControlPlace ExitButton{u"超级按钮1", {14, 276, 22, 22}};
}
