#include "platform/messagebox.h"

#include "platform/handles.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <cstdio>
#include <utility>

namespace Platform {
namespace {

TMessageBoxHook &MessageBoxHook()
{
    static TMessageBoxHook hook;
    return hook;
}

constexpr std::array<std::pair<TMsgButton, QMessageBox::StandardButton>, 7> ButtonMap{{
    {mbOK, QMessageBox::Ok},
    {mbCancel, QMessageBox::Cancel},
    {mbYes, QMessageBox::Yes},
    {mbNo, QMessageBox::No},
    {mbAbort, QMessageBox::Abort},
    {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},
}};

QMessageBox::Icon ToQtIcon(TMsgIcon icon)
{
    switch (icon) {
    case TMsgIcon::Information:
        return QMessageBox::Information;
    case TMsgIcon::Warning:
        return QMessageBox::Warning;
    case TMsgIcon::Error:
        return QMessageBox::Critical;
    case TMsgIcon::Question:
        return QMessageBox::Question;
    case TMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString &Title()
{
    static QString title;
    return title;
}

void SetApplicationTitle(const QString &title)
{
    Title() = OwnedCopy(title);
}

QString ApplicationTitle()
{
    return Title().isEmpty() ? QCoreApplication::applicationName() : Title();
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    return std::exchange(MessageBoxHook(), std::move(hook));
}

QWidget *ApplicationWindow()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->isWindow())
            return top;
    }
    return nullptr;
}

TMsgButton ShowMessageBox(QWidget *owner, const QString &text, const QString &caption, TMsgIcon icon,
                          TMsgButtons buttons, TMsgButton defaultButton)
{
    if (buttons == mbNone)
        buttons = mbOK;
    if (const TMessageBoxHook &hook = MessageBoxHook()) {
        // The texts may come from a library that is unloaded right after this call (the
        // login check's library is); a literal of it would dangle in what the hook keeps.
        return hook(TMessageBoxCall{owner, OwnedCopy(text), OwnedCopy(caption), icon, buttons, defaultButton});
    }

    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
        return defaultButton;
    }

    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, owner);
    for (const auto &[ours, qt] : ButtonMap) {
        if (buttons & ours) {
            QPushButton *button = box.addButton(qt);
            if (ours == defaultButton)
                box.setDefaultButton(button);
        }
    }
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const auto &[ours, qt] : ButtonMap) {
        if (qt == pressed)
            return ours;
    }
    // Closed with Escape or the window's close box: the cancelling answer.
    if (buttons & mbCancel)
        return mbCancel;
    return (buttons & mbNo) ? mbNo : defaultButton;
}

} // namespace Platform
