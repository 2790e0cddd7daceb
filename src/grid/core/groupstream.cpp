#include "grid/groups.h"
#include "grid/core/groups_p.h"

#include "grid/designio.h"

#include <QByteArray>

#include <algorithm>

void TwGroup::WriteDesign(TwDesignWriter &out) const
{
    out.Int("Levels", Levels(), 1);
    out.Bool("NoColTitles", NoColTitles(), false);
    TwDesignWriter title;
    title.Title(Title());
    title.Int("Height", Title().Height(), 19);
    title.Bool("Visible", Title().Visible(), true);
    out.Object("Title", title);
    out.Bool("Visible", Visible(), true);
    out.Int("Weight", Weight(), 1);
    out.Int("Width", Width(), 64);
    const auto &weights = d->m_weights;
    if (std::any_of(weights.begin(), weights.end(), [](std::uint8_t w) { return w != 1; })) {
        const QByteArray bytes(reinterpret_cast<const char *>(weights.data()), static_cast<qsizetype>(weights.size()));
        out.Text("Weights", QString::fromLatin1(bytes.toBase64()));
    }
}

void TwGroup::ReadDesign(const TwDesignReader &in)
{
    SetLevels(in.Int("Levels", 1, 1, MaxLevels));
    const TwDesignReader title = in.Object("Title");
    title.Title(Title());
    // The title's upper bound follows the header height, which may have been lowered after
    // the title was set: the setter fits a stored height in again.
    Title().SetHeight(title.Int("Height", 19, 0, TwDesignReader::PixelMax));
    Title().SetVisible(title.Bool("Visible", true));
    SetNoColTitles(in.Bool("NoColTitles", false));
    SetVisible(in.Bool("Visible", true));
    SetWidth(in.Int("Width", 64, 4, TwDesignReader::PixelMax));

    // The level weights are stored as they are, but they must add up to the total.
    const int levels = Levels();
    const int weight = levels > 1 ? in.Int("Weight", levels, levels, 3 * levels) : in.Int("Weight", 1, 1, 1);
    const QString text = in.Text("Weights");
    if (text.isEmpty()) {
        // A total without level weights gives the extra weight to the first level, as the
        // setter does.
        d->m_weights.fill(1);
        d->m_weight = levels;
        SetWeight(weight);
        return;
    }
    const QByteArray weights = QByteArray::fromBase64(text.toLatin1());
    if (weights.size() != MaxLevels)
        in.Fail("Weights", QStringLiteral("%1 bytes are expected").arg(MaxLevels));
    std::array<std::uint8_t, MaxLevels> read;
    read.fill(1);
    int total = 0;
    for (qsizetype i = 0; i < weights.size(); ++i) {
        const auto value = static_cast<std::uint8_t>(weights.at(i));
        if (value < 1)
            in.Fail("Weights", QStringLiteral("level %1 has no weight").arg(i));
        read[static_cast<std::size_t>(i)] = value;
        if (i < levels)
            total += value;
    }
    if (levels > 1 && total != weight)
        in.Fail("Weights", QStringLiteral("the level weights add up to %1, not to Weight %2").arg(total).arg(weight));
    d->m_weights = read;
    d->m_weight = weight;
}
