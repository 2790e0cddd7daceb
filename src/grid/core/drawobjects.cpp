#include "grid/drawobjects.h"
#include "grid/core/drawobjects_p.h"
#include "grid/support/notify_p.h"

#include "grid/columns.h"
#include "grid/core/gridowner_p.h"
#include "grid/gridparts.h"
#include "grid/groups.h"
#include "platform/texception.h"

#include <algorithm>

namespace {

/// The values an assignment may change, read before it so that each changed one notifies.
struct Appearance
{
    TwAlignment alignment;
    TwCellStyle cellStyle;
    TColor color;
    TwFitStyle fitStyle;
    TwFont font;
    TwTextLayout layout;
    int margins[4];
    bool wordWrap;

    explicit Appearance(const TwDrawObject &o)
        : alignment(o.Alignment())
        , cellStyle(o.CellStyle())
        , color(o.Color())
        , fitStyle(o.FitStyle())
        , font(o.Font())
        , layout(o.Layout())
        , margins{o.MarginLeft(), o.MarginTop(), o.MarginRight(), o.MarginBottom()}
        , wordWrap(o.WordWrap())
    {
    }

    void NotifyChanges(TwDrawObject &o) const
    {
        if (o.Alignment() != alignment)
            emit o.AlignmentChanged(o.Alignment());
        if (o.CellStyle() != cellStyle)
            emit o.CellStyleChanged(o.CellStyle());
        if (o.Color() != color)
            emit o.ColorChanged(o.Color());
        if (o.FitStyle() != fitStyle)
            emit o.FitStyleChanged(o.FitStyle());
        if (!(o.Font() == font))
            emit o.FontChanged(o.Font());
        if (o.Layout() != layout)
            emit o.LayoutChanged(o.Layout());
        if (o.MarginLeft() != margins[0])
            emit o.MarginLeftChanged(o.MarginLeft());
        if (o.MarginTop() != margins[1])
            emit o.MarginTopChanged(o.MarginTop());
        if (o.MarginRight() != margins[2])
            emit o.MarginRightChanged(o.MarginRight());
        if (o.MarginBottom() != margins[3])
            emit o.MarginBottomChanged(o.MarginBottom());
        if (o.WordWrap() != wordWrap)
            emit o.WordWrapChanged(o.WordWrap());
    }
};

} // namespace

// TwDrawObject

TwDrawObject::TwDrawObject()
    : d(std::make_unique<TwDrawObjectPrivate>())
{
    TXInitDrawInfo(d->m_drawInfo);
}

TwDrawObject::~TwDrawObject() = default;

const TwDrawInfo &TwDrawObject::DrawInfo() const
{
    return d->m_drawInfo;
}

TwDrawInfo &TwDrawObject::DrawInfoRef()
{
    return d->m_drawInfo;
}

void TwDrawObject::Assign(const TwDrawObject &source)
{
    const Appearance old(*this);
    d->m_assigned = source.d->m_assigned;
    d->m_font = source.d->m_font;
    d->m_color = source.d->m_color;
    d->m_alignment = source.d->m_alignment;
    d->m_layout = source.d->m_layout;
    d->m_fitStyle = source.d->m_fitStyle;
    for (int i = 0; i < 4; ++i)
        d->m_margins[i] = source.d->m_margins[i];
    d->m_wordWrap = source.d->m_wordWrap;
    d->m_cellStyle = source.CellStyle();
    d->m_cellStyleStored = true;
    Changed();
    old.NotifyChanges(*this);
}

void TwDrawObject::SetDrawInfo()
{
    TXInitDrawInfo(d->m_drawInfo);
    d->m_drawInfo.Alignment = Alignment();
    d->m_drawInfo.FitStyle = FitStyle();
    d->m_drawInfo.Layout = Layout();
    d->m_drawInfo.WordWrap = WordWrap();
    d->m_drawInfo.Margins[0] = MarginLeft();
    d->m_drawInfo.Margins[1] = MarginTop();
    d->m_drawInfo.Margins[2] = MarginRight();
    d->m_drawInfo.Margins[3] = MarginBottom();
    d->m_drawInfo.BackState = CellStyle();
}

TwFont TwDrawObject::DefaultFont() const
{
    const TwGridOwner *owner = TwOwnerOf(GetGrid());
    return owner ? owner->GridFont() : TwFont();
}

TwAlignment TwDrawObject::Alignment() const
{
    return d->m_assigned.Has(wovAlignment) ? d->m_alignment : DefaultAlignment();
}

void TwDrawObject::SetAlignment(TwAlignment value)
{
    const auto notify = TwNotifyOnChange([this] { return Alignment(); }, [this] { emit AlignmentChanged(Alignment()); });
    d->m_alignment = value;
    Mark(wovAlignment);
    Changed();
}

void TwDrawObject::SetCellStyle(TwCellStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return CellStyle(); }, [this] { emit CellStyleChanged(CellStyle()); });
    d->m_cellStyle = value;
    d->m_cellStyleStored = true;
    Changed();
}

TColor TwDrawObject::Color() const
{
    return d->m_assigned.Has(wovColor) ? d->m_color : DefaultColor();
}

void TwDrawObject::SetColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return Color(); }, [this] { emit ColorChanged(Color()); });
    if (d->m_assigned.Has(wovColor) && d->m_color == value)
        return;
    d->m_color = value;
    Mark(wovColor);
    Changed();
}

TwFitStyle TwDrawObject::FitStyle() const
{
    return d->m_assigned.Has(wovFitStyle) ? d->m_fitStyle : DefaultFitStyle();
}

void TwDrawObject::SetFitStyle(TwFitStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return FitStyle(); }, [this] { emit FitStyleChanged(FitStyle()); });
    d->m_fitStyle = value;
    Mark(wovFitStyle);
    Changed();
}

TwFont TwDrawObject::Font() const
{
    return d->m_assigned.Has(wovFont) ? d->m_font : DefaultFont();
}

void TwDrawObject::SetFont(const TwFont &value)
{
    const auto notify = TwNotifyOnChange([this] { return Font(); }, [this] { emit FontChanged(Font()); });
    d->m_font = value;
    Mark(wovFont);
    Changed();
}

TwTextLayout TwDrawObject::Layout() const
{
    return d->m_assigned.Has(wovLayout) ? d->m_layout : DefaultLayout();
}

void TwDrawObject::SetLayout(TwTextLayout value)
{
    const auto notify = TwNotifyOnChange([this] { return Layout(); }, [this] { emit LayoutChanged(Layout()); });
    d->m_layout = value;
    Mark(wovLayout);
    Changed();
}

int TwDrawObject::MarginLeft() const
{
    return d->m_assigned.Has(wovMarginLeft) ? d->m_margins[0] : DefaultMarginLeft();
}

int TwDrawObject::MarginTop() const
{
    return d->m_assigned.Has(wovMarginTop) ? d->m_margins[1] : DefaultMarginTop();
}

int TwDrawObject::MarginRight() const
{
    return d->m_assigned.Has(wovMarginRight) ? d->m_margins[2] : DefaultMarginRight();
}

int TwDrawObject::MarginBottom() const
{
    return d->m_assigned.Has(wovMarginBottom) ? d->m_margins[3] : DefaultMarginBottom();
}

void TwDrawObject::SetMarginLeft(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginLeft(); }, [this] { emit MarginLeftChanged(MarginLeft()); });
    d->m_margins[0] = value;
    Mark(wovMarginLeft);
    Changed();
}

void TwDrawObject::SetMarginTop(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginTop(); }, [this] { emit MarginTopChanged(MarginTop()); });
    d->m_margins[1] = value;
    Mark(wovMarginTop);
    Changed();
}

void TwDrawObject::SetMarginRight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginRight(); }, [this] { emit MarginRightChanged(MarginRight()); });
    d->m_margins[2] = value;
    Mark(wovMarginRight);
    Changed();
}

void TwDrawObject::SetMarginBottom(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginBottom(); }, [this] { emit MarginBottomChanged(MarginBottom()); });
    d->m_margins[3] = value;
    Mark(wovMarginBottom);
    Changed();
}

void TwDrawObject::SetMarginRect(int left, int top, int right, int bottom)
{
    const auto notifyLeft = TwNotifyOnChange([this] { return MarginLeft(); }, [this] { emit MarginLeftChanged(MarginLeft()); });
    const auto notifyTop = TwNotifyOnChange([this] { return MarginTop(); }, [this] { emit MarginTopChanged(MarginTop()); });
    const auto notifyRight = TwNotifyOnChange([this] { return MarginRight(); }, [this] { emit MarginRightChanged(MarginRight()); });
    const auto notifyBottom = TwNotifyOnChange([this] { return MarginBottom(); }, [this] { emit MarginBottomChanged(MarginBottom()); });
    d->m_margins[0] = left;
    d->m_margins[1] = top;
    d->m_margins[2] = right;
    d->m_margins[3] = bottom;
    Mark(wovMarginLeft);
    Mark(wovMarginTop);
    Mark(wovMarginRight);
    Mark(wovMarginBottom);
    Changed();
}

bool TwDrawObject::WordWrap() const
{
    return d->m_assigned.Has(wovWordWrap) ? d->m_wordWrap : DefaultWordWrap();
}

void TwDrawObject::SetWordWrap(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return WordWrap(); }, [this] { emit WordWrapChanged(WordWrap()); });
    d->m_wordWrap = value;
    Mark(wovWordWrap);
    Changed();
}

// TwTitle

TwTitle::TwTitle()
    : d(std::make_unique<TwTitlePrivate>())
{
}

TwTitle::~TwTitle() = default;

void TwTitle::Assign(const TwDrawObject &source)
{
    if (const auto *title = dynamic_cast<const TwTitle *>(&source)) {
        const auto caption = TwNotifyOnChange([this] { return Caption(); }, [this] { emit CaptionChanged(Caption()); });
        const auto clicking = TwNotifyOnChange([this] { return Clicking(); }, [this] { emit ClickingChanged(Clicking()); });
        const auto image = TwNotifyOnChange([this] { return Image().cacheKey(); }, [this] { emit ImageChanged(Image()); });
        const auto layout = TwNotifyOnChange([this] { return ImageLayout(); }, [this] { emit ImageLayoutChanged(ImageLayout()); });
        d->m_caption = title->d->m_caption;
        d->m_clicking = title->d->m_clicking;
        d->m_image = title->d->m_image;
        d->m_imageLayout = title->d->m_imageLayout;
    }
    TwDrawObject::Assign(source);
}

void TwTitle::SetCaption(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return Caption(); }, [this] { emit CaptionChanged(Caption()); });
    d->m_caption = value;
    Changed();
}

void TwTitle::SetImage(const QPixmap &value)
{
    // Pixmaps have no equality; two that share their data are the same picture.
    if (d->m_image.cacheKey() == value.cacheKey())
        return;
    d->m_image = value;
    Changed();
    if (t_twNotificationsHeld == 0)
        emit ImageChanged(d->m_image);
}

void TwTitle::SetImageLayout(TwImageLayout value)
{
    const auto notify = TwNotifyOnChange([this] { return ImageLayout(); }, [this] { emit ImageLayoutChanged(ImageLayout()); });
    d->m_imageLayout = value;
    Changed();
}

// TwColumnTitle

TwColumnTitle::TwColumnTitle(TwColumn *column)
    : d(std::make_unique<TwColumnTitlePrivate>())
{
    d->m_column = column;
}

TwColumnTitle::~TwColumnTitle() = default;

void TwColumnTitle::Changed()
{
    if (d->m_column)
        d->m_column->Changed();
}

TwCustomGrid *TwColumnTitle::GetGrid() const
{
    return d->m_column ? d->m_column->Grid() : nullptr;
}

TwFont TwColumnTitle::DefaultFont() const
{
    return d->m_column ? d->m_column->Font() : TwDrawObject::DefaultFont();
}

int TwColumnTitle::DefaultMarginLeft() const
{
    return d->m_column ? d->m_column->MarginLeft() : 0;
}

int TwColumnTitle::DefaultMarginTop() const
{
    return d->m_column ? d->m_column->MarginTop() : 0;
}

int TwColumnTitle::DefaultMarginRight() const
{
    return d->m_column ? d->m_column->MarginRight() : 0;
}

int TwColumnTitle::DefaultMarginBottom() const
{
    return d->m_column ? d->m_column->MarginBottom() : 0;
}

void TwColumnTitle::SetSortMark(TwSortMark value)
{
    const auto notify = TwNotifyOnChange([this] { return SortMark(); }, [this] { emit SortMarkChanged(SortMark()); });
    d->m_sortMark = value;
    Changed();
}

// TwColumnFooter

TwColumnFooter::TwColumnFooter(TwColumn *column)
    : d(std::make_unique<TwColumnFooterPrivate>())
{
    d->m_column = column;
}

TwColumnFooter::~TwColumnFooter() = default;

void TwColumnFooter::Changed()
{
    TwGridOwner *owner = TwOwnerOf(GetGrid());
    if (!owner || owner->Designing() || !d->m_column)
        return;
    if (!owner->GroupMode() && d->m_column->Visible())
        owner->PartChanged(TwPartChange::Footers);
    else if (owner->GroupMode() && d->m_column->GroupObject() && d->m_column->GroupObject()->Visible())
        owner->PartChanged(TwPartChange::Footers);
}

TwCustomGrid *TwColumnFooter::GetGrid() const
{
    return d->m_column ? d->m_column->Grid() : nullptr;
}

TwAlignment TwColumnFooter::DefaultAlignment() const
{
    return d->m_column ? d->m_column->Alignment() : taLeftJustify;
}

TwFitStyle TwColumnFooter::DefaultFitStyle() const
{
    return d->m_column ? d->m_column->FitStyle() : wfitNone;
}

TwFont TwColumnFooter::DefaultFont() const
{
    return d->m_column ? d->m_column->Font() : TwDrawObject::DefaultFont();
}

TwTextLayout TwColumnFooter::DefaultLayout() const
{
    return d->m_column ? d->m_column->Layout() : tlCenter;
}

int TwColumnFooter::DefaultMarginLeft() const
{
    return d->m_column ? d->m_column->MarginLeft() : 0;
}

int TwColumnFooter::DefaultMarginTop() const
{
    return d->m_column ? d->m_column->MarginTop() : 0;
}

int TwColumnFooter::DefaultMarginRight() const
{
    return d->m_column ? d->m_column->MarginRight() : 0;
}

int TwColumnFooter::DefaultMarginBottom() const
{
    return d->m_column ? d->m_column->MarginBottom() : 0;
}

bool TwColumnFooter::DefaultWordWrap() const
{
    return d->m_column && d->m_column->WordWrap();
}

QString TwColumnFooter::GetValues(int row) const
{
    return row >= 0 && row < d->m_values.size() ? d->m_values.at(row) : QString();
}

void TwColumnFooter::SetValues(int row, const QString &text)
{
    TwGridOwner *owner = TwOwnerOf(GetGrid());
    const int rows = owner ? owner->Footers().Count() : 0;
    if (row < 0 || row >= rows)
        throw TException(QStringLiteral("Bound Error in TwColumnFooter.SetValues(%1)").arg(row));
    while (d->m_values.size() <= row)
        d->m_values << QString();
    d->m_values[row] = text;
    Changed();
}

QString TwColumnFooter::GetText(int row) const
{
    return GetValues(row);
}

bool TwColumnFooter::Footering(int)
{
    return false;
}

void TwColumnFooter::FootersChanged()
{
}

int TwColumnFooter::GetIndex() const
{
    return d->m_column ? d->m_column->Index() : -1;
}

TwObjectValues TwDrawObject::AssignedValues() const
{
    return d->m_assigned;
}

bool TwDrawObject::IsAssigned(TwObjectValue value) const
{
    return d->m_assigned.Has(value);
}

TwCellStyle TwDrawObject::CellStyle() const
{
    return d->m_cellStyleStored ? d->m_cellStyle : DefaultCellStyle();
}

void TwDrawObject::Mark(TwObjectValue value)
{
    d->m_assigned.Include(value);
}

QString TwTitle::Caption() const
{
    return d->m_caption;
}

bool TwTitle::Clicking() const
{
    return d->m_clicking;
}

void TwTitle::SetClicking(bool value)
{
    if (d->m_clicking == value)
        return;
    d->m_clicking = value;
    if (t_twNotificationsHeld == 0)
        emit ClickingChanged(value);
}

QPixmap TwTitle::Image() const
{
    return d->m_image;
}

TwImageLayout TwTitle::ImageLayout() const
{
    return d->m_imageLayout;
}

TwColumn *TwColumnTitle::Column() const
{
    return d->m_column;
}

TwSortMark TwColumnTitle::SortMark() const
{
    return d->m_sortMark;
}

const QStringList &TwColumnFooter::ValueList() const
{
    return d->m_values;
}

TwColumn *TwColumnFooter::Column() const
{
    return d->m_column;
}

void TwDrawObject::SetColor(const QColor &value)
{
    SetColor(TXColorOf(value));
}
