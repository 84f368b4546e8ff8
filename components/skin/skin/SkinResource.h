#pragma once
// The skin resource: everything a skin is, carried as bytes.
//
// Format (UTF-8 text):
//   QLSKIN 1                        first line, the format and its version
//   Protection: none | sha256-xor   header lines "Name: value" up to an empty line
//   Salt: <hex>                     (protected resources only)
//   Check: <hex>                    (protected: SHA-256 of salt, password and "check")
//   <empty line>
//   body
// The body of a protected resource is XORed with a key stream whose block i is
// SHA-256(salt, password, i as 4 bytes little-endian); it keeps a casual reader out, no more.
// The plain body has sections:
//   [palette]      lines "Role = #rrggbb" or "Group.Role = #rrggbb" (Group: Active, Inactive,
//                  Disabled; without a group the colour is set for all three)
//   [font]         "family = ..." and "pixelSize = N" (or "pointSize = N")
//   [style]        "name = Fusion": the widget style the style sheet builds on
//   [stylesheet]   a Qt style sheet, to the end of the resource
// Lines starting with ';' outside the style sheet are comments.
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QString>

#include <optional>

namespace qinglan::skin {

struct PaletteEntry {
    QPalette::ColorRole role;
    std::optional<QPalette::ColorGroup> group; // none: every group
    QColor color;
};

struct SkinDescription {
    QList<PaletteEntry> palette;
    QString fontFamily;
    int fontPixelSize = 0; // 0: keep the size
    int fontPointSize = 0;
    QString styleName;
    QString styleSheet;
};

enum class ResourceError { None, Malformed, WrongPassword };

// Reads a resource; `password` "" opens an unprotected one.
std::optional<SkinDescription> parseSkinResource(const QByteArray& resource,
                                                 const QByteArray& password,
                                                 ResourceError* error = nullptr);

// Makes a protected resource of a plain one (for the tools and tests that write skins).
QByteArray protectSkinResource(const QByteArray& plain, const QByteArray& password,
                               const QByteArray& salt);

} // namespace qinglan::skin
