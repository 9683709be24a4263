#pragma once

#include "toolkit/ControlPlacement.h"

// The password window's controls: the design name each carries as its
// object name, and its place in the window.
namespace PasswordWindowLayout {
inline constexpr ControlPlace Background{u"标签1", {0, 0, 240, 156}};
inline constexpr ControlPlace UserCaption{u"透明标签1", {11, 22, 50, 16}};
inline constexpr ControlPlace OldCaption{u"透明标签2", {11, 54, 50, 16}};
inline constexpr ControlPlace NewCaption{u"透明标签3", {11, 86, 50, 16}};
inline constexpr ControlPlace VerifyCaption{u"透明标签4", {11, 119, 50, 16}};
inline constexpr ControlPlace UserBox{u"用户编辑框", {66, 18, 100, 22}};
inline constexpr ControlPlace OldPasswordBox{u"原口令编辑框", {66, 50, 100, 22}};
inline constexpr ControlPlace NewPasswordBox{u"新口令编辑框", {66, 82, 100, 22}};
inline constexpr ControlPlace VerifyBox{u"复核口令编辑框", {66, 115, 100, 22}};
inline constexpr ControlPlace OkButton{u"确定按钮", {172, 18, 50, 50}};
inline constexpr ControlPlace CancelButton{u"取消按钮", {172, 87, 50, 50}};
}
