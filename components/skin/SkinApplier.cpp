#include "skin/SkinApplier.h"

#include "SkinStyle.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>

namespace qinglan::skin {
namespace {

bool onApplicationThread() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app != nullptr && QThread::currentThread() == app->thread();
}

// The skin's style: the named base style under the skin's own marks.
void useSkinStyle(const QString& baseName) {
    if (baseName.isEmpty()) return;
    if (QStyle* base = QStyleFactory::create(baseName)) QApplication::setStyle(new SkinStyle(base));
}

void restoreStyle(const QString& name) {
    if (QStyle* style = QStyleFactory::create(name.isEmpty() ? QStringLiteral("Fusion") : name))
        QApplication::setStyle(style);
}

QPalette paletteOf(const SkinDescription& skin, const ColorShift& shift) {
    QPalette palette = QApplication::palette();
    for (const PaletteEntry& entry : skin.palette) {
        const QColor color = shifted(entry.color, shift);
        if (entry.group)
            palette.setColor(*entry.group, entry.role, color);
        else
            palette.setColor(entry.role, color);
    }
    return palette;
}

} // namespace

bool SkinApplier::attach(const SkinDescription& skin, const ColorShift& shift) {
    if (!onApplicationThread()) return false;
    auto* app = qApp;
    if (!attached_) {
        originalStyleSheet_ = app->styleSheet();
        originalPalette_ = QApplication::palette();
        originalFont_ = QApplication::font();
    }
    // Without a style sheet the application's style is the base style itself (with one it is
    // a style-sheet proxy without a name).
    app->setStyleSheet(QString());
    if (!attached_) {
        originalStyleName_ = QApplication::style()->name();
    } else {
        // A second skin starts from the original look, not from the first skin.
        restoreStyle(originalStyleName_);
        QApplication::setFont(originalFont_);
        QApplication::setPalette(originalPalette_);
    }
    // The style first: choosing a style resets the palette to the style's own.
    useSkinStyle(skin.styleName);
    QApplication::setPalette(paletteOf(skin, shift));
    if (!skin.fontFamily.isEmpty() || skin.fontPixelSize > 0 || skin.fontPointSize > 0) {
        QFont font = QApplication::font();
        if (!skin.fontFamily.isEmpty()) font.setFamilies({skin.fontFamily});
        if (skin.fontPixelSize > 0)
            font.setPixelSize(skin.fontPixelSize);
        else if (skin.fontPointSize > 0)
            font.setPointSize(skin.fontPointSize);
        QApplication::setFont(font);
    }
    app->setStyleSheet(shiftedStyleSheet(skin.styleSheet, shift));
    attached_ = true;
    return true;
}

bool SkinApplier::detach() {
    if (!attached_ || !onApplicationThread()) return false;
    qApp->setStyleSheet(QString());
    restoreStyle(originalStyleName_);
    QApplication::setPalette(originalPalette_);
    QApplication::setFont(originalFont_);
    qApp->setStyleSheet(originalStyleSheet_);
    attached_ = false;
    return true;
}

SkinApplier& processSkin() {
    static SkinApplier applier;
    return applier;
}

} // namespace qinglan::skin
