#pragma once

#include <QString>
#include <QWidget>

#include <memory>

/// The updater's server settings window (Skyrun config): host, port, path, user,
/// password, passive mode and transfer type of skyrun.ini in the program folder. It is
/// the program's main window in this mode; closing it ends the program.
class TForm2 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm2(const QString &programFolder, QWidget *parent = nullptr);
    ~TForm2() override;

    /// The show step: sets the caption and fills the controls from skyrun.ini. Settings
    /// that cannot be read are reported as every unhandled error is, and leave the
    /// controls as they are (the edits show their names); returns false then. Runs by
    /// itself when the window is shown for the first time, unless it ran before.
    bool Fill();

    /// Writes the controls' values to skyrun.ini as they stand, without trimming or
    /// checking. A failure is reported as every unhandled error is; the window and its
    /// values stay. Returns false then.
    bool Save();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
