#include "main/ufavourite.h"

#include "main/favouritefile.h"
#include "main/menubuilder.h"
#include "main/uimg.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr int StateRole = Qt::UserRole + 1;
constexpr int StateImageSize = 16;
// The state image sits at the left of a node's cell, its text after it.
constexpr int StateImageWidth = StateImageSize + 2;

QRect StateRect(const QRect &cell)
{
    return QRect(cell.left() + 1, cell.top() + (cell.height() - StateImageSize) / 2, StateImageSize, StateImageSize);
}

// The state images: 0 blank, 1 an empty box, 2 a greyed tick, 3 a tick.
QPixmap DrawStateImage(int index)
{
    QPixmap picture(StateImageSize, StateImageSize);
    picture.fill(Qt::transparent);
    if (index <= 0)
        return picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1C, 0x51, 0x80), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    if (index == TfrmFavourite::siNotChosen)
        return picture;
    const QColor tick = index == TfrmFavourite::siChosen ? QColor(0x0B, 0x7A, 0x2E) : QColor(0x9A, 0x9A, 0x9A);
    p.setPen(QPen(tick, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(4.8, 8.2), QPointF(7.2, 10.8), QPointF(11.6, 5.0)}));
    return picture;
}

const QPixmap &StateImage(int index)
{
    static const std::array<QPixmap, 4> images = {DrawStateImage(0), DrawStateImage(1), DrawStateImage(2),
                                                  DrawStateImage(3)};
    return images[static_cast<std::size_t>(qBound(0, index, 3))];
}

int StateOf(const QModelIndex &index)
{
    bool ok = false;
    const int state = index.data(StateRole).toInt(&ok);
    return ok ? state : TfrmFavourite::siNone;
}

// Draws a node's state image in front of its text, as a tree view with state images
// does; the selection covers the text only.
class TStateImageDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int state = StateOf(index);
        if (state < 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem text = option;
        text.rect.setLeft(option.rect.left() + StateImageWidth);
        QStyledItemDelegate::paint(painter, text, index);
        painter->drawPixmap(StateRect(option.rect), StateImage(state));
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (StateOf(index) >= 0)
            size.rwidth() += StateImageWidth;
        size.setHeight(qMax(size.height(), StateImageSize + 2));
        return size;
    }
};

// A shape whose brush is a picture: it fills its rectangle with the picture tiled (or the
// brush colour when there is none) inside a one-pixel black pen.
class TShape : public QWidget
{
public:
    TShape(const QString &name, const QColor &brushColor, QWidget *parent)
        : QWidget(parent)
        , m_brush(brushColor)
    {
        setObjectName(name);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void SetBrushPicture(const QPixmap &picture)
    {
        if (!picture.isNull())
            m_brush = QBrush(picture);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(Qt::black);
        p.setBrush(m_brush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QBrush m_brush;
};

QToolButton *SpeedButton(const char *name, const QString &caption, int imageNo, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(65, 39);
    const QPixmap glyph = BankImage(imageNo);
    if (!glyph.isNull()) {
        button->setIcon(glyph);
        button->setIconSize(glyph.size());
    }
    return button;
}

bool HasLongPart(const QString &hint)
{
    return !LongHint(hint).trimmed().isEmpty();
}

bool IsChosen(const QTreeWidgetItem *node)
{
    const int state = TfrmFavourite::StateIndex(node);
    return state == TfrmFavourite::siPartlyChosen || state == TfrmFavourite::siChosen;
}

void SetStateIndex(QTreeWidgetItem *node, int state)
{
    node->setData(0, StateRole, state);
}

} // namespace

TFavouriteInputs FavouriteInputs(const QMenuBar *menuBar, const QStringList &favouriteIds)
{
    TFavouriteInputs inputs;
    for (const QAction *top : menuBar->actions()) {
        const QString hint = HintOf(top);
        if (!HasLongPart(hint))
            continue;
        TUserMenuPart group;
        group.Group.GrpId = LongHint(hint).trimmed();
        group.Group.GrpName = ShortHint(hint).trimmed();
        inputs.Groups << group;
        if (!top->menu())
            continue;
        for (const QAction *item : top->menu()->actions()) {
            const QString itemHint = HintOf(item);
            if (!item->isEnabled() || item->isSeparator() || !HasLongPart(itemHint))
                continue;
            TUserMenu program;
            program.MenuInfo.GrpId = group.Group.GrpId;
            program.MenuInfo.ProgId = LongHint(itemHint).trimmed();
            program.MenuInfo.ProgName = ShortHint(itemHint);
            program.Favourite = favouriteIds.contains(program.MenuInfo.ProgId, Qt::CaseInsensitive) ? QLatin1Char('1')
                                                                                                   : QLatin1Char('0');
            inputs.Programs << program;
        }
    }
    return inputs;
}

QPixmap FavouriteButtonPicture(int groupIndex, const QString &progId, const QFont &font)
{
    QPixmap picture = BankImage(120 + ((groupIndex % 3) + 3) % 3);
    if (picture.isNull()) {
        picture = QPixmap(32, 30);
        picture.fill(Qt::transparent);
    }
    QPainter p(&picture);
    // The id is drawn whole: a font too wide for the picture is narrowed until it fits.
    QFont fitted = font;
    const QString text = progId.toLower();
    while (QFontMetrics(fitted).horizontalAdvance(text) > picture.width() && QFontInfo(fitted).pixelSize() > 8)
        fitted.setPixelSize(QFontInfo(fitted).pixelSize() - 1);
    p.setFont(fitted);
    p.setPen(QColor(0xF9, 0xFC, 0x00));
    p.setBackgroundMode(Qt::TransparentMode);
    // Placed by its top-left corner, as text is on a canvas.
    p.drawText(QPoint(0, 12 + p.fontMetrics().ascent()), text);
    return picture;
}

struct TfrmFavourite::Private
{
    QWidget *Panel1 = nullptr;
    TShape *shp001 = nullptr;
    QLabel *lblTitle = nullptr;
    QWidget *Panel2 = nullptr;
    TShape *shp002 = nullptr;
    QToolButton *btnSave = nullptr;
    QToolButton *btnClose = nullptr;
    std::array<QLabel *, 3> statusPanels{};
    QTreeWidget *TreeView1 = nullptr;

    QString userId;
    TUserMenuParts groups;
    TUserMenus programs;
    bool changed = false;
    QTreeWidgetItem *pressedNode = nullptr;
};

TfrmFavourite::TfrmFavourite(QWidget *parent)
    : QDialog(parent)
    , d(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("frmFavourite"));
    setWindowTitle(QStringLiteral("자주사용하는메뉴설정"));
    setFont(Platform::Gulim(13));
    resize(441, 497);

    d->Panel1 = new QWidget(this);
    d->Panel1->setObjectName(QStringLiteral("Panel1"));
    d->Panel1->setFixedHeight(45);
    d->shp001 = new TShape(QStringLiteral("shp001"), Qt::white, d->Panel1);
    d->shp001->SetBrushPicture(BankImage(3));

    d->lblTitle = new QLabel(QStringLiteral("자주사용하는메뉴설정"), d->Panel1);
    d->lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = Platform::Gulim(16);
    titleFont.setBold(true);
    d->lblTitle->setFont(titleFont);
    QPalette title = d->lblTitle->palette();
    title.setColor(QPalette::WindowText, Qt::white);
    d->lblTitle->setPalette(title);
    d->lblTitle->setAttribute(Qt::WA_TranslucentBackground);
    d->lblTitle->adjustSize();

    d->Panel2 = new QWidget(d->Panel1);
    d->Panel2->setObjectName(QStringLiteral("Panel2"));
    d->Panel2->setAutoFillBackground(true);
    QPalette buttonArea = d->Panel2->palette();
    buttonArea.setColor(QPalette::Window, QColor(0xBC, 0xDB, 0xF8));
    d->Panel2->setPalette(buttonArea);
    d->shp002 = new TShape(QStringLiteral("shp002"), QColor(0xA6, 0xCA, 0xF0), d->Panel2);
    d->shp002->SetBrushPicture(BankImage(3));

    d->btnSave = SpeedButton("btnSave", QStringLiteral("저장"), 1203, d->Panel2);
    d->btnSave->setFont(Platform::Gulim(12));
    QPalette saveText = d->btnSave->palette();
    saveText.setColor(QPalette::ButtonText, Qt::white);
    d->btnSave->setPalette(saveText);
    d->btnSave->move(2, 3);
    connect(d->btnSave, &QToolButton::clicked, this, &TfrmFavourite::btnSaveClick);
    d->btnClose = SpeedButton("btnClose", QStringLiteral("종료"), 1209, d->Panel2);
    // On the same dark band as 저장: white reads there, the default dark text does not.
    d->btnClose->setPalette(saveText);
    d->btnClose->move(69, 3);
    connect(d->btnClose, &QToolButton::clicked, this, &QDialog::close);

    d->TreeView1 = new QTreeWidget(this);
    d->TreeView1->setObjectName(QStringLiteral("TreeView1"));
    d->TreeView1->setHeaderHidden(true);
    d->TreeView1->setColumnCount(1);
    d->TreeView1->setIndentation(19);
    d->TreeView1->setItemDelegate(new TStateImageDelegate(d->TreeView1));
    d->TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette treeColour = d->TreeView1->palette();
    treeColour.setColor(QPalette::Base, QColor(0xDF, 0xFE, 0xFF));
    d->TreeView1->setPalette(treeColour);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    constexpr std::array<int, 3> widths = {50, 350, 50};
    for (std::size_t i = 0; i < d->statusPanels.size(); ++i) {
        QLabel *panel = new QLabel(status);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(widths[i]);
        status->addWidget(panel);
        d->statusPanels[i] = panel;
    }
    d->statusPanels[0]->setText(QStringLiteral("메시지"));
    d->statusPanels[0]->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The client area keeps its designed size; the status panels are clipped, not widened.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(d->Panel1);
    layout->addWidget(d->TreeView1, 1);
    layout->addWidget(status);

    // Watched only once every part exists.
    d->Panel1->installEventFilter(this);
    d->TreeView1->installEventFilter(this);
    d->TreeView1->viewport()->installEventFilter(this);
}

TfrmFavourite::~TfrmFavourite() = default;

void TfrmFavourite::SetInputs(const QString &userId, const TUserMenuParts &groups, const TUserMenus &programs)
{
    d->userId = userId;
    d->groups = groups;
    d->programs = programs;
    d->changed = false;
    if (isVisible())
        FillTree();
}

const QString &TfrmFavourite::UserId() const
{
    return d->userId;
}

const TUserMenuParts &TfrmFavourite::Groups() const
{
    return d->groups;
}

const TUserMenus &TfrmFavourite::Programs() const
{
    return d->programs;
}

bool TfrmFavourite::Changed() const
{
    return d->changed;
}

int TfrmFavourite::StateIndex(const QTreeWidgetItem *node)
{
    if (!node)
        return siNone;
    bool ok = false;
    const int state = node->data(0, StateRole).toInt(&ok);
    return ok ? state : siNone;
}

QRect TfrmFavourite::StateImageRect(const QTreeWidgetItem *node) const
{
    if (StateIndex(node) < 0)
        return {};
    return StateRect(d->TreeView1->visualItemRect(node));
}

void TfrmFavourite::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar gets a spontaneous show: the same opening.
    if (event->spontaneous())
        return;
    d->statusPanels[1]->setText(QStringLiteral(" 설정된 값들은 ID별로 Local PC에만 저장 됩니다."));
    d->changed = false;
    FillTree();
}

// The tree is built once per opening, from scratch, so activating the dialog again (or
// showing it again for another opening) never adds the nodes twice.
void TfrmFavourite::FillTree()
{
    d->pressedNode = nullptr;
    d->TreeView1->clear();
    for (TUserMenuPart &group : d->groups)
        group.GroupNode = new QTreeWidgetItem(d->TreeView1, QStringList(group.Group.GrpName));
    for (TUserMenu &program : d->programs) {
        program.GroupNode = nullptr;
        program.ProgramNode = nullptr;
        for (const TUserMenuPart &group : std::as_const(d->groups)) {
            if (group.Group.GrpId == program.MenuInfo.GrpId) {
                program.GroupNode = group.GroupNode;
                break;
            }
        }
        if (!program.GroupNode)
            continue;
        const QString caption = QStringLiteral("[%1]%2").arg(program.MenuInfo.ProgId, program.MenuInfo.ProgName);
        program.ProgramNode = new QTreeWidgetItem(program.GroupNode, QStringList(caption));
        SetStateIndex(program.ProgramNode, program.Favourite == QLatin1Char('1') ? siChosen : siNotChosen);
    }
    d->TreeView1->expandAll();
}

void TfrmFavourite::LayoutTitleBand()
{
    const QSize band = d->Panel1->size();
    d->Panel2->setGeometry(band.width() - 136, 0, 136, band.height());
    d->shp001->setGeometry(0, 0, band.width() + 1, band.height() + 1);
    d->shp002->setGeometry(0, 0, d->Panel2->width() + 1, d->Panel2->height() + 1);
    d->shp001->lower();
    d->shp002->lower();
    d->lblTitle->move(12, (band.height() - d->lblTitle->height()) / 2);
}

void TfrmFavourite::ToggleNode(QTreeWidgetItem *node)
{
    if (!node || !node->parent())
        return; // group nodes keep their state
    const int state = StateIndex(node);
    if (state == siNotChosen)
        SetStateIndex(node, siChosen);
    else if (state == siChosen)
        SetStateIndex(node, siNotChosen);
}

QTreeWidgetItem *TfrmFavourite::StateImageAt(const QPoint &pos) const
{
    QTreeWidgetItem *node = d->TreeView1->itemAt(pos);
    return StateImageRect(node).contains(pos) ? node : nullptr;
}

bool TfrmFavourite::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d->Panel1 && event->type() == QEvent::Resize) {
        LayoutTitleBand();
        return false;
    }
    if (watched == d->TreeView1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            ToggleNode(d->TreeView1->currentItem());
            return true;
        }
        return false;
    }
    if (watched != d->TreeView1->viewport())
        return false;
    // A click toggles when it is pressed and released on the same node's state image.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        d->pressedNode = mouse->button() == Qt::LeftButton ? StateImageAt(mouse->position().toPoint()) : nullptr;
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        QTreeWidgetItem *node = d->pressedNode;
        d->pressedNode = nullptr;
        if (node && mouse->button() == Qt::LeftButton && StateImageAt(mouse->position().toPoint()) == node)
            ToggleNode(node);
        break;
    }
    default:
        break;
    }
    return false;
}

// Keeps the chosen programs in list order, at most MaxFavourites of them; a program
// counts towards the result even when it is the last one that fits.
void TfrmFavourite::btnSaveClick()
{
    QStringList saveList;
    QList<QChar> flags;
    bool changed = false;
    for (const TUserMenu &program : std::as_const(d->programs)) {
        if (saveList.size() >= MaxFavourites)
            break;
        if (!program.ProgramNode) {
            flags << program.Favourite; // not in the tree: left as it is
            continue;
        }
        const bool chosen = IsChosen(program.ProgramNode);
        if (chosen)
            saveList << program.MenuInfo.ProgId;
        const QChar flag = chosen ? QLatin1Char('1') : QLatin1Char('0');
        changed = changed || flag != program.Favourite;
        flags << flag;
    }

    const QString fileName = FavouriteFilePath();
    // A user without an id keeps nothing on disk.
    if (changed && !d->userId.trimmed().isEmpty() && !WriteFavourites(d->userId, saveList, fileName)) {
        Platform::ShowMessageBox(this, QStringLiteral("Unable to write to %1").arg(fileName), windowTitle(),
                                 Platform::TMsgIcon::Error);
        return; // the flags stay as stored, so saving again retries
    }
    for (qsizetype i = 0; i < flags.size(); ++i)
        d->programs[i].Favourite = flags[i];
    d->changed = d->changed || changed;
    if (changed)
        Platform::ShowMessageBox(this, QStringLiteral("처리하였습니다."), windowTitle(),
                                 Platform::TMsgIcon::Information);
    else
        Platform::ShowMessageBox(this, QStringLiteral("변경된 내역이 없습니다."), windowTitle(),
                                 Platform::TMsgIcon::Warning);
}
