#pragma once
#include "skin/ColorShift.h"
#include "skin/SkinResource.h"

#include <QFont>
#include <QPalette>
#include <QString>

namespace qinglan::skin {

// Puts a skin on the running QApplication and takes it off again. The look from before the
// first attach (style, palette, font, style sheet) is remembered and restored by detach.
// Use on the application's thread only.
class SkinApplier {
public:
    // False when there is no QApplication or this is not its thread.
    bool attach(const SkinDescription& skin, const ColorShift& shift);
    // False when no skin was attached.
    bool detach();
    bool isAttached() const { return attached_; }

private:
    bool attached_ = false;
    QString originalStyleName_;
    QPalette originalPalette_;
    QFont originalFont_;
    QString originalStyleSheet_;
};

// The one applier of the process (the engine's exports work on it).
SkinApplier& processSkin();

} // namespace qinglan::skin
