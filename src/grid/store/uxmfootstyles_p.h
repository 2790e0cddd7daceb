#pragma once

// Internal to the footer style dialog: its controls and working state.

#include "grid/uxmfootstyles.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TwDlgMFootStylesPrivate
{
public:
    TwMemColumnFooter *m_footer = nullptr;
    QComboBox *m_cbFooters = nullptr;
    QGroupBox *m_grpMethods = nullptr;
    QButtonGroup *m_methods = nullptr;
    QGroupBox *m_grpCondition = nullptr;
    QComboBox *m_cbColumns = nullptr;
    QComboBox *m_cbOperator = nullptr;
    QLineEdit *m_edOperand = nullptr;
    QPushButton *m_cmOk = nullptr;
    QPushButton *m_cmCancel = nullptr;
    QPushButton *m_cmHelp = nullptr;
    /// One entry per footer line, in the footer's text form.
    QStringList m_styles;
    bool m_modified = false;
    /// Set while the controls are filled, so that filling them changes nothing.
    bool m_loading = false;
};
