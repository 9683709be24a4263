#include "WindowControls.h"

#include "auth/LoginWindow.h"
#include "auth/PasswordWindow.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/BalloonTip.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureBox.h"
#include "toolkit/PictureLabel.h"
#include "viewer/ViewerWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include <QTest>

#include <gtest/gtest.h>

namespace {

// Finds a control of the window by its object name, or fails the test.
class Finder
{
public:
    explicit Finder(const QObject &window)
        : m_window(window)
    {
    }

    template<typename Control>
    void operator()(Control *&control, const char16_t *name) const
    {
        control = m_window.findChild<Control *>(QString::fromUtf16(name), Qt::FindDirectChildrenOnly);
        if (!control)
            ADD_FAILURE() << "no control named " << QString::fromUtf16(name).toStdString();
    }

private:
    const QObject &m_window;
};

}

MainWindowControls ui(const MainWindow &window)
{
    const Finder find(window);
    MainWindowControls c{};
    find(c.标签1, u"标签1");
    find(c.标签2, u"标签2");
    find(c.标签3, u"标签3");
    find(c.标签6, u"标签6");
    find(c.标签7, u"标签7");
    find(c.标签5, u"标签5");
    find(c.选择列表框1, u"选择列表框1");
    find(c.标签4, u"标签4");
    find(c.标签999, u"标签999");
    find(c.编辑框1, u"编辑框1");
    find(c.按钮添加, u"按钮添加");
    find(c.按钮更新, u"按钮更新");
    find(c.按钮改名, u"按钮改名");
    find(c.按钮导出, u"按钮导出");
    find(c.按钮删除, u"按钮删除");
    find(c.透明标签3, u"透明标签3");
    find(c.透明标签2, u"透明标签2");
    find(c.透明标签1, u"透明标签1");
    find(c.透明标签4, u"透明标签4");
    find(c.气球提示框1, u"气球提示框1");
    find(c.菜单, u"菜单");
    return c;
}

LoginWindowControls ui(const LoginWindow &window)
{
    const Finder find(window);
    LoginWindowControls c{};
    find(c.标签1, u"标签1");
    find(c.图形按钮1, u"图形按钮1");
    find(c.图形按钮2, u"图形按钮2");
    find(c.透明标签1, u"透明标签1");
    find(c.用户组合框, u"用户组合框");
    find(c.透明标签2, u"透明标签2");
    find(c.口令编辑框, u"口令编辑框");
    find(c.登录按钮, u"登录按钮");
    find(c.取消按钮, u"取消按钮");
    return c;
}

PasswordWindowControls ui(const PasswordWindow &window)
{
    const Finder find(window);
    PasswordWindowControls c{};
    find(c.标签1, u"标签1");
    find(c.透明标签1, u"透明标签1");
    find(c.透明标签2, u"透明标签2");
    find(c.透明标签3, u"透明标签3");
    find(c.透明标签4, u"透明标签4");
    find(c.用户编辑框, u"用户编辑框");
    find(c.原口令编辑框, u"原口令编辑框");
    find(c.新口令编辑框, u"新口令编辑框");
    find(c.复核口令编辑框, u"复核口令编辑框");
    find(c.确定按钮, u"确定按钮");
    find(c.取消按钮, u"取消按钮");
    return c;
}

ViewerWindowControls ui(const ViewerWindow &window)
{
    const Finder find(window);
    ViewerWindowControls c{};
    find(c.标签1, u"标签1");
    find(c.图片框1, u"图片框1");
    find(c.标签2, u"标签2");
    find(c.标签3, u"标签3");
    find(c.超级按钮2, u"超级按钮2");
    find(c.超级按钮3, u"超级按钮3");
    find(c.超级按钮1, u"超级按钮1");
    return c;
}

bool waitForAccounts(const LoginWindow &window)
{
    return QTest::qWaitFor([&window] { return ui(window).用户组合框->count() > 0; }, 5000);
}
