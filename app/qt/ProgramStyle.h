#pragma once
// The desktop's style, but for the chevrons of the menu and tool bars' extension buttons, which
// it would read in a way that loads every image format plugin Qt has (five libraries at every
// start of the window, for a button a window this wide never shows). The same pictures are read
// here as PNG, which Qt decodes itself, and only when the button is first drawn. And on a desktop
// that names no icon theme, the message pictures (the balloon's) are Qt's own without a search
// of the fallback theme that would not find them.
#include <QProxyStyle>

namespace nimbrel::gui {

class ProgramStyle final : public QProxyStyle {
public:
    // key: the style to wrap, e.g. QApplication::style()->name(), so -style and
    // QT_STYLE_OVERRIDE still choose it.
    explicit ProgramStyle(const QString& key) : QProxyStyle(key) {}

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;

private:
    // The picture Qt draws itself, without asking the icon theme.
    QPixmap QtOwnPixmap(StandardPixmap icon, const QStyleOption* option,
                        const QWidget* widget) const;
};

} // namespace nimbrel::gui
