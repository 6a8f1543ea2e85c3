#pragma once

#include "printing/report.h"

#include <QFont>
#include <QString>

namespace printing {

// The family that prints for the one a report names: Times New Roman and Arial print in their
// metric twins Liberation Serif and Liberation Sans; any other family as it is.
QString printedFamily(const QString& family);

// The font to draw with.
QFont toQFont(const FontSpec& spec);

} // namespace printing
