#pragma once

#include "toolkit/ControlPlacement.h"

// The log-in window's controls: the design name each carries as its object
// name, and its place in the window.
namespace LoginWindowLayout {
inline constexpr ControlPlace Background{u"标签1", {0, 0, 240, 156}};
inline constexpr ControlPlace UserPicture{u"图形按钮1", {18, 13, 30, 32}};
inline constexpr ControlPlace KeyPicture{u"图形按钮2", {19, 47, 27, 31}};
inline constexpr ControlPlace UserCaption{u"透明标签1", {55, 24, 48, 16}};
inline constexpr ControlPlace UserBox{u"用户组合框", {113, 23, 100, 20}};
inline constexpr ControlPlace PasswordCaption{u"透明标签2", {55, 56, 48, 16}};
inline constexpr ControlPlace PasswordBox{u"口令编辑框", {113, 54, 100, 20}};
inline constexpr ControlPlace LogInButton{u"登录按钮", {54, 109, 60, 26}};
inline constexpr ControlPlace CancelButton{u"取消按钮", {154, 109, 60, 26}};
}
