// The desktop's media controls through MPRIS2: the name org.mpris.MediaPlayer2.qinglan on the
// session bus, one object with the root and the player interfaces, and PropertiesChanged for
// every change of what the player shows, found by comparing with what was last announced.
#include "platform/linux/MprisAdaptors.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace qinglan::platform {

namespace {

constexpr auto kService = "org.mpris.MediaPlayer2.qinglan";
constexpr auto kPath = "/org/mpris/MediaPlayer2";
constexpr auto kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr int kPollMs = 500;

void call(const std::function<void()>& f) {
    if (f) f();
}

class MprisRemote final : public MediaRemote {
public:
    explicit MprisRemote(Player player) : player_(std::move(player)) {}

    ~MprisRemote() override {
        if (!registered_) return;
        auto bus = QDBusConnection::sessionBus();
        bus.unregisterObject(QString::fromLatin1(kPath));
        bus.unregisterService(QString::fromLatin1(kService));
    }

    bool start() {
        auto bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) return false;
        root_ = new MprisRoot(&object_, player_);
        adaptor_ = new MprisPlayer(&object_, player_);
        if (!bus.registerObject(QString::fromLatin1(kPath), &object_)) return false;
        if (!bus.registerService(QString::fromLatin1(kService))) {
            bus.unregisterObject(QString::fromLatin1(kPath));
            return false;
        }
        registered_ = true;
        announced_ = adaptor_->properties();
        QObject::connect(&poll_, &QTimer::timeout, &object_, [this] { refresh(); });
        poll_.start(kPollMs);
        return true;
    }

    void refresh() override {
        const QVariantMap now = adaptor_->properties();
        QVariantMap changed;
        for (auto it = now.begin(); it != now.end(); ++it)
            if (announced_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
        announced_ = now;
        if (changed.isEmpty()) return;
        QDBusMessage signal = QDBusMessage::createSignal(
            QString::fromLatin1(kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
        QDBusConnection::sessionBus().send(signal);
    }

private:
    Player player_;
    QObject object_;
    MprisRoot* root_ = nullptr;
    MprisPlayer* adaptor_ = nullptr;
    QVariantMap announced_;
    QTimer poll_;
    bool registered_ = false;
};

} // namespace

QDBusObjectPath mprisTrackId(const MediaStatus& status) {
    if (status.url.empty())
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(status.url), QCryptographicHash::Md5);
    return QDBusObjectPath(QStringLiteral("/org/qinglan/track/t") +
                           QString::fromLatin1(hash.toHex()));
}

// ---- root ------------------------------------------------------------------------------------

MprisRoot::MprisRoot(QObject* object, const MediaRemote::Player& player)
    : QDBusAbstractAdaptor(object), player_(player) {}

QString MprisRoot::identity() const {
    return QStringLiteral("青岚播放器");
}

QStringList MprisRoot::supportedUriSchemes() const {
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https")};
}

QStringList MprisRoot::supportedMimeTypes() const {
    return {QStringLiteral("video/mp4"),       QStringLiteral("video/x-matroska"),
            QStringLiteral("video/x-msvideo"), QStringLiteral("video/x-flv"),
            QStringLiteral("video/quicktime"), QStringLiteral("video/mpeg"),
            QStringLiteral("audio/mpeg"),      QStringLiteral("audio/flac"),
            QStringLiteral("audio/x-wav")};
}

void MprisRoot::Raise() {
    call(player_.raise);
}

void MprisRoot::Quit() {
    call(player_.quit);
}

// ---- player ----------------------------------------------------------------------------------

MprisPlayer::MprisPlayer(QObject* object, const MediaRemote::Player& player)
    : QDBusAbstractAdaptor(object), player_(player) {}

MediaStatus MprisPlayer::status() const {
    return player_.status ? player_.status() : MediaStatus{};
}

QString MprisPlayer::playbackStatus() const {
    switch (status().state) {
    case MediaStatus::State::Playing:
        return QStringLiteral("Playing");
    case MediaStatus::State::Paused:
        return QStringLiteral("Paused");
    case MediaStatus::State::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MprisPlayer::metadata() const {
    const MediaStatus s = status();
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(mprisTrackId(s)));
    if (s.url.empty()) return m;
    m.insert(QStringLiteral("xesam:title"), QString::fromStdString(s.title));
    m.insert(QStringLiteral("xesam:url"), QString::fromStdString(s.url));
    if (s.lengthMs > 0) m.insert(QStringLiteral("mpris:length"), qlonglong(s.lengthMs * 1000));
    return m;
}

double MprisPlayer::volume() const {
    return status().volume;
}

void MprisPlayer::setVolume(double volume) {
    if (!player_.setVolume || !std::isfinite(volume)) return;
    player_.setVolume(std::clamp(volume, 0.0, 10.0));
}

qlonglong MprisPlayer::position() const {
    return player_.positionMs ? qlonglong(player_.positionMs() * 1000) : 0;
}

bool MprisPlayer::canGoNext() const {
    return status().canGoNext;
}

bool MprisPlayer::canGoPrevious() const {
    return status().canGoPrevious;
}

QVariantMap MprisPlayer::properties() const {
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("CanGoNext"), canGoNext()},
            {QStringLiteral("CanGoPrevious"), canGoPrevious()}};
}

void MprisPlayer::Next() {
    call(player_.next);
}
void MprisPlayer::Previous() {
    call(player_.previous);
}
void MprisPlayer::Pause() {
    call(player_.pause);
}
void MprisPlayer::PlayPause() {
    call(player_.playPause);
}
void MprisPlayer::Stop() {
    call(player_.stop);
}
void MprisPlayer::Play() {
    call(player_.play);
}

void MprisPlayer::Seek(qlonglong offsetUs) {
    if (!player_.seekBy) return;
    player_.seekBy(offsetUs / 1000);
    emit Seeked(position());
}

void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong positionUs) {
    // A request for another track than the one open, or outside it, is ignored.
    const MediaStatus s = status();
    if (!player_.seekTo || trackId != mprisTrackId(s) || positionUs < 0) return;
    if (s.lengthMs > 0 && positionUs > s.lengthMs * 1000) return;
    player_.seekTo(positionUs / 1000);
    emit Seeked(position());
}

void MprisPlayer::OpenUri(const QString& uri) {
    if (player_.open) player_.open(uri.toStdString());
}

std::unique_ptr<MediaRemote> makeMediaRemote(MediaRemote::Player player) {
    if (!QCoreApplication::instance()) return nullptr;
    auto remote = std::make_unique<MprisRemote>(std::move(player));
    if (!remote->start()) return nullptr;
    return remote;
}

} // namespace qinglan::platform
