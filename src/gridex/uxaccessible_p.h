#pragma once

class QString;
class QWidget;
class TwCustomLabel;

/// The label's text as a screen reader says it: accelerator marks taken out, a masked
/// text (PasswordChar) never read.
QString TXLabelSpokenText(const TwCustomLabel *label);

/// Gives `control` the label's text as its accessible name, so a screen reader names a
/// control by the label in front of it, as Qt does for a QLabel's buddy. A name the
/// program gave the control itself stays; `previous`, a control the label named before,
/// loses the name it got from the label.
void TXNameLabelledControl(const TwCustomLabel *label, QWidget *control, QWidget *previous);
