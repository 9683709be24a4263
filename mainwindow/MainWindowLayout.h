#pragma once

#include "toolkit/ControlPlacement.h"

// The main window's controls: the design name each carries as its object
// name, and its place in the window.
namespace MainWindowLayout {
inline constexpr ControlPlace RecordNumber{u"标签1", {250, 127, 70, 20}};
inline constexpr ControlPlace Category{u"标签2", {180, 130, 60, 20}};
inline constexpr ControlPlace Preview{u"标签3", {6, 26, 378, 389}};
inline constexpr ControlPlace WelcomePicture{u"标签6", {54, 103, 300, 190}};
inline constexpr ControlPlace WelcomeLine{u"标签7", {54, 325, 300, 24}};
inline constexpr ControlPlace ListFrame{u"标签5", {384, 26, 161, 270}};
inline constexpr ControlPlace PictureList{u"选择列表框1", {416, 31, 100, 260}};
inline constexpr ControlPlace ButtonFrame{u"标签4", {384, 295, 161, 120}};
inline constexpr ControlPlace NameCaption{u"标签999", {395, 310, 27, 22}};
inline constexpr ControlPlace NameBox{u"编辑框1", {422, 310, 78, 22}};
inline constexpr ControlPlace AddButton{u"按钮添加", {499, 310, 33, 22}};
inline constexpr ControlPlace ReplaceButton{u"按钮更新", {397, 343, 66, 24}};
inline constexpr ControlPlace RenameButton{u"按钮改名", {466, 343, 66, 24}};
inline constexpr ControlPlace ExportButton{u"按钮导出", {397, 378, 66, 24}};
inline constexpr ControlPlace DeleteButton{u"按钮删除", {466, 378, 66, 24}};
inline constexpr ControlPlace Title{u"透明标签3", {8, 0, 472, 24}};
inline constexpr ControlPlace MinimiseMark{u"透明标签2", {488, 0, 24, 24}};
inline constexpr ControlPlace CloseMark{u"透明标签1", {528, 0, 24, 24}};
inline constexpr ControlPlace Footer{u"透明标签4", {0, 420, 550, 30}};
}
