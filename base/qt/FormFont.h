#pragma once
// The font every window of the program sets when it is created.
#include <QFont>
#include <QString>
#include <string>

namespace nimbrel::gui {

// Windows: the font FormFontForVersion chooses for the system's version. Elsewhere the desktop's
// own font, which the user chose.
QFont FormFont();

// text as a tool tip or label shows it: line breaks as the toolkit draws them, and never read as
// markup (report lines and names come from outside).
QString PlainText(const std::string& text);
QString PlainToolTip(const std::string& text);

} // namespace nimbrel::gui
