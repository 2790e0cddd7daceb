// One form with each control of the extension package.
//   TabrixControls                 shows the form
//   TabrixControls picture.png     saves a picture of the form and exits (any platform,
//                                  also QT_QPA_PLATFORM=offscreen)

#include "grid/uxdedit.h"
#include "gridex/uxcombos.h"
#include "gridex/uxctrls.h"
#include "gridex/uxlabels.h"
#include "platform/application.h"

#include <QGridLayout>
#include <QLabel>
#include <QShortcut>
#include <QWidget>

#include <cstdio>

namespace {

TwLabel *Label(const QString &caption, TwLabelBorderStyle border)
{
    auto *label = new TwLabel(caption);
    label->SetBorderStyle(border);
    return label;
}

void AddRow(QGridLayout *grid, const QString &what, const QList<QWidget *> &controls)
{
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(what), row, 0);
    int column = 1;
    for (QWidget *control : controls) {
        control->setFixedSize(control->size());
        grid->addWidget(control, row, column++);
    }
}

QWidget *BuildForm()
{
    auto *form = new QWidget;
    form->setWindowTitle(QStringLiteral("Tabrix controls"));
    auto *grid = new QGridLayout(form);
    grid->setHorizontalSpacing(12);

    auto *line = Label(QStringLiteral("Line 3"), mlbsLine);
    line->SetBorderWidth(3);
    line->SetBorderColor(0x800000);
    auto *chima = Label(QStringLiteral("Chima"), mlbsSunken);
    chima->SetChima(true);
    chima->SetColor(0xFFFFFF);
    auto *shadow = Label(QStringLiteral("그림자 Shadow"), mlbsRaised);
    shadow->SetShadow(true);
    AddRow(grid, QStringLiteral("TwLabel"),
        { Label(QStringLiteral("&Raised"), mlbsRaised), Label(QStringLiteral("Sunken"), mlbsSunken),
            Label(QStringLiteral("Deep"), mlbsDeep), line });

    auto *password = Label(QStringLiteral("secret"), mlbsSunken);
    password->SetPasswordChar(QLatin1Char('*'));
    auto *disabled = Label(QStringLiteral("Disabled"), mlbsRaised);
    disabled->setEnabled(false);
    auto *wrapped = Label(QStringLiteral("A caption long enough to wrap onto lines"), mlbsSunken);
    wrapped->SetWordWrap(true);
    wrapped->SetAlignment(taLeftJustify);
    wrapped->resize(121, 50);
    AddRow(grid, QString(), { chima, shadow, password, disabled });
    AddRow(grid, QString(), { wrapped });

    auto *amount = new TwNumLabel;
    amount->SetFormat(QStringLiteral("#,##0"));
    amount->SetPrefix(QStringLiteral("₩"));
    amount->SetValue(1234567.4);
    auto *rate = new TwNumLabel;
    rate->SetFormat(QStringLiteral("0.00"));
    rate->SetSuffix(QStringLiteral(" %"));
    rate->SetValue(-3.5);
    rate->SetBorderStyle(mlbsDeep);
    auto *empty = new TwNumLabel;
    empty->SetBorderStyle(mlbsSunken);
    empty->Clear();
    AddRow(grid, QStringLiteral("TwNumLabel"), { amount, rate, empty });

    auto *edit = new TwEdit;
    edit->setText(QStringLiteral("왼쪽 left"));
    edit->resize(121, 20);
    auto *centred = new TwEdit;
    centred->setText(QStringLiteral("centre"));
    centred->resize(121, 28);
    centred->SetLayout(tlCenter);
    centred->SetAlignment(taCenter);
    auto *right = new TwEdit;
    right->setText(QStringLiteral("1,234"));
    right->resize(121, 20);
    right->SetAlignment(taRightJustify);
    right->SetMargin(2, 6);
    AddRow(grid, QStringLiteral("TwEdit"), { edit, centred, right });

    auto *phone = new TwMaskEdit;
    phone->SetEditMask(QStringLiteral("000-0000-0000;_"));
    phone->setText(QStringLiteral("01012345678"));
    phone->resize(121, 20);
    AddRow(grid, QStringLiteral("TwMaskEdit"), { phone });

    auto *typed = new TwNumEdit;
    typed->SetPrecision(2);
    typed->SetValue(1234567.5);
    auto *negative = new TwNumEdit;
    negative->SetValue(-42);
    auto *spin = new TwNumEdit;
    spin->SetSpinner(true);
    spin->SetValue(7);
    AddRow(grid, QStringLiteral("TwNumEdit"), { typed, negative, spin });

    auto *date = new TwDateEdit;
    date->SetEditFormat(QStringLiteral("yyyy-mm-dd"));
    date->SetLong(20050307);
    date->resize(121, 22);
    auto *nullDate = new TwDateEdit;
    nullDate->SetEditFormat(QStringLiteral("yyyy/mm/dd"));
    nullDate->Clear();
    nullDate->resize(121, 22);
    auto *time = new TwDateEdit;
    time->SetKind(dtkTime);
    time->SetDateMode(dmUpDown);
    time->SetEditFormat(QStringLiteral("hh:nn am/pm"));
    time->SetLong(140500);
    time->resize(121, 22);
    AddRow(grid, QStringLiteral("TwDateEdit"), { date, nullDate, time });

    // Branch combos: the item is code;name, the value the code.
    const QStringList branches = { QStringLiteral("10;서울지점"), QStringLiteral("20;부산지점"),
        QStringLiteral("30;대구지점"), QStringLiteral("40;광주지점") };
    const QStringList codes
        = { QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("40") };
    auto *branch = new TwCombo;
    branch->SetItems(branches);
    branch->SetValues(codes);
    branch->SetString(QStringLiteral("20"));
    branch->resize(121, 20);
    auto *byName = new TwCombo;
    byName->SetItems({ QStringLiteral("서울지점"), QStringLiteral("부산지점"), QStringLiteral("대구지점"),
        QStringLiteral("광주지점") });
    byName->SetValues(codes);
    byName->SetValueIndex(0);
    byName->resize(121, 20);
    auto *free = new TwCombo;
    free->SetStyle(wcsDropDown);
    free->SetValues({ QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("어음") });
    free->SetString(QStringLiteral("기타 other"));
    free->resize(121, 20);
    AddRow(grid, QStringLiteral("TwCombo"), { branch, byName, free });

    grid->setRowStretch(grid->rowCount(), 1);
    return form;
}

} // namespace

int main(int argc, char **argv)
{
    Platform::TApplication app(argc, argv);
    QWidget *form = BuildForm();
    if (argc < 2) {
        // Ctrl+Q closes the form the way its close button does, also where no window
        // manager draws one.
        auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), form);
        QObject::connect(quit, &QShortcut::activated, form, &QWidget::close);
        form->show();
        const int result = app.exec();
        delete form;
        return result;
    }
    form->adjustSize();
    form->show();
    QApplication::processEvents();
    const bool saved = form->grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
    delete form;
    if (!saved) {
        std::fprintf(stderr, "TabrixControls: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
