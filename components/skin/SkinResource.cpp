#include "skin/SkinResource.h"

#include <QCryptographicHash>
#include <QHash>
#include <QMetaEnum>

namespace qinglan::skin {
namespace {

const QByteArray kMagic = "QLSKIN 1";

QByteArray keyStream(const QByteArray& salt, const QByteArray& password, qsizetype length) {
    QByteArray stream;
    for (quint32 block = 0; stream.size() < length; ++block) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(salt);
        hash.addData(password);
        const char counter[4] = {char(block), char(block >> 8), char(block >> 16),
                                 char(block >> 24)};
        hash.addData(QByteArrayView(counter, 4));
        stream += hash.result();
    }
    stream.truncate(length);
    return stream;
}

QByteArray passwordCheck(const QByteArray& salt, const QByteArray& password) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(salt);
    hash.addData(password);
    hash.addData("check");
    return hash.result().toHex();
}

QByteArray xorWith(QByteArray data, const QByteArray& key) {
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(data[i] ^ key[i]);
    return data;
}

std::optional<QPalette::ColorRole> roleNamed(const QString& name) {
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    bool ok = false;
    const int value = roles.keyToValue(name.toLatin1().constData(), &ok);
    if (!ok || value == QPalette::NColorRoles) return std::nullopt;
    return QPalette::ColorRole(value);
}

std::optional<QPalette::ColorGroup> groupNamed(const QString& name) {
    if (name == QLatin1String("Active")) return QPalette::Active;
    if (name == QLatin1String("Inactive")) return QPalette::Inactive;
    if (name == QLatin1String("Disabled")) return QPalette::Disabled;
    return std::nullopt;
}

bool readPaletteLine(const QString& key, const QString& value, SkinDescription& skin) {
    const QStringList parts = key.split(QLatin1Char('.'));
    if (parts.size() > 2) return false;
    const auto role = roleNamed(parts.last());
    const QColor color = QColor::fromString(value);
    if (!role || !color.isValid()) return false;
    std::optional<QPalette::ColorGroup> group;
    if (parts.size() == 2) {
        group = groupNamed(parts.first());
        if (!group) return false;
    }
    skin.palette.append({*role, group, color});
    return true;
}

bool readKeyValue(const QString& section, const QString& key, const QString& value,
                  SkinDescription& skin) {
    if (section == QLatin1String("palette")) return readPaletteLine(key, value, skin);
    if (section == QLatin1String("font")) {
        if (key == QLatin1String("family")) {
            skin.fontFamily = value;
            return true;
        }
        bool ok = false;
        const int size = value.toInt(&ok);
        if (!ok || size <= 0 || size > 200) return false;
        if (key == QLatin1String("pixelSize"))
            skin.fontPixelSize = size;
        else if (key == QLatin1String("pointSize"))
            skin.fontPointSize = size;
        else
            return false;
        return true;
    }
    if (section == QLatin1String("style") && key == QLatin1String("name")) {
        skin.styleName = value;
        return true;
    }
    return false;
}

std::optional<SkinDescription> parseBody(const QString& body) {
    SkinDescription skin;
    QString section;
    qsizetype position = 0;
    while (position < body.size()) {
        qsizetype end = body.indexOf(QLatin1Char('\n'), position);
        if (end < 0) end = body.size();
        const QString line = body.mid(position, end - position).trimmed();
        position = end + 1;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            if (section == QLatin1String("stylesheet")) {
                skin.styleSheet = position < body.size() ? body.mid(position) : QString();
                return skin;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) return std::nullopt;
        if (!readKeyValue(section, line.left(equals).trimmed(), line.mid(equals + 1).trimmed(),
                          skin))
            return std::nullopt;
    }
    return skin;
}

std::optional<SkinDescription> fail(ResourceError* error, ResourceError why) {
    if (error) *error = why;
    return std::nullopt;
}

} // namespace

std::optional<SkinDescription> parseSkinResource(const QByteArray& resource,
                                                 const QByteArray& password, ResourceError* error) {
    const qsizetype headEnd = resource.indexOf("\n\n");
    if (!resource.startsWith(kMagic + '\n') || headEnd < 0)
        return fail(error, ResourceError::Malformed);
    QHash<QByteArray, QByteArray> fields;
    const QList<QByteArray> lines = resource.left(headEnd).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0) return fail(error, ResourceError::Malformed);
        fields.insert(lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed());
    }
    QByteArray body = resource.mid(headEnd + 2);
    const QByteArray protection = fields.value("Protection", "none");
    if (protection == "sha256-xor") {
        const QByteArray salt = QByteArray::fromHex(fields.value("Salt"));
        if (salt.isEmpty() || !fields.contains("Check"))
            return fail(error, ResourceError::Malformed);
        if (passwordCheck(salt, password) != fields.value("Check"))
            return fail(error, ResourceError::WrongPassword);
        body = xorWith(body, keyStream(salt, password, body.size()));
    } else if (protection != "none") { // a password given for an open resource is ignored
        return fail(error, ResourceError::Malformed);
    }
    auto skin = parseBody(QString::fromUtf8(body));
    if (!skin) return fail(error, ResourceError::Malformed);
    if (error) *error = ResourceError::None;
    return skin;
}

QByteArray protectSkinResource(const QByteArray& plain, const QByteArray& password,
                               const QByteArray& salt) {
    const qsizetype headEnd = plain.indexOf("\n\n");
    if (!plain.startsWith(kMagic + '\n') || headEnd < 0 || salt.isEmpty()) return {};
    const QByteArray body = plain.mid(headEnd + 2);
    QByteArray out = kMagic + "\nProtection: sha256-xor\nSalt: " + salt.toHex() +
                     "\nCheck: " + passwordCheck(salt, password) + "\n\n";
    return out + xorWith(body, keyStream(salt, password, body.size()));
}

} // namespace qinglan::skin
