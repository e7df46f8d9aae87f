#include "platform/reportengine/Report.h"

#include <algorithm>
#include <cmath>

namespace platform::reportengine {

int ReportDefinition::addFont(const QFont &font)
{
    const auto found = std::find(fonts.begin(), fonts.end(), font);
    if (found != fonts.end())
        return int(found - fonts.begin());
    fonts.push_back(font);
    return int(fonts.size()) - 1;
}

Section *ReportDefinition::section(SectionRole role)
{
    for (Section &s : sections) {
        if (s.role == role)
            return &s;
    }
    return nullptr;
}

const Section *ReportDefinition::section(SectionRole role) const
{
    return const_cast<ReportDefinition *>(this)->section(role);
}

Control *ReportDefinition::control(const QString &name)
{
    for (Section &s : sections) {
        for (Control &c : s.controls) {
            if (c.name == name)
                return &c;
        }
    }
    return nullptr;
}

const Control *ReportDefinition::control(const QString &name) const
{
    return const_cast<ReportDefinition *>(this)->control(name);
}

QSize twipsOf(const QPageSize &size)
{
    // Millimetres are exact for the ISO sizes and for Letter (215.9 x 279.4).
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return QSize(int(std::lround(mm.width() * 1440 / 25.4)),
                 int(std::lround(mm.height() * 1440 / 25.4)));
}

} // namespace platform::reportengine
