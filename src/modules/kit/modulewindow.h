#pragma once

#include <QMdiSubWindow>

#include <cstdint>

struct TModuleArgs;

/// A business module's child window in the main program's window area: deleted when it
/// closes, and posting the module's close message to the main window once it has closed,
/// so that the main program can unload the module.
class TModuleWindow : public QMdiSubWindow
{
public:
    explicit TModuleWindow(const TModuleArgs &record);

protected:
    /// Asked before the window closes; false keeps it open (unsaved changes, say).
    virtual bool MayClose() { return true; }
    void closeEvent(QCloseEvent *event) override;

private:
    std::uint32_t m_mainWnd;
    std::uint32_t m_closeMsg;
};
