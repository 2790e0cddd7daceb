#pragma once

// The design-time dialog that edits the summary styles of one column footer: for each
// footer line the method, the condition column, the operator and the operand.

#include "grid/tabrixexport.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class TwMemColumnFooter;
class TwDlgMFootStylesPrivate;

class TABRIX_EXPORT TwDlgMFootStyles : public QDialog
{
    Q_OBJECT

public:
    explicit TwDlgMFootStyles(TwMemColumnFooter *footer, QWidget *parent = nullptr);
    ~TwDlgMFootStyles() override;

    /// Shows the working copy's entry of the chosen footer line in the controls.
    void ReadStyle();
    /// Writes the controls back into the working copy's entry of the chosen footer line.
    void WriteStyle();
    /// The working copy of the style entries, one per footer line.
    QStringList Styles() const;
    bool Modified() const;

private:
    void FillLists();
    void Changed();
    void UpdateControls();
    void Ok();

    std::unique_ptr<TwDlgMFootStylesPrivate> d;
};

/// Edits the styles of `footer` in the dialog; true when the user accepted. A grid without
/// footer lines opens no dialog and gives false.
TABRIX_EXPORT bool EditMFootStyles(TwMemColumnFooter *footer);
