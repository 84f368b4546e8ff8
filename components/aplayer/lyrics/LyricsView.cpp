#include "lyrics/LyricsView.h"

#include "aplayer/ConfigTable.h"
#include "aplayer/MpvTranslate.h"
#include "lyrics/LyricsTimeline.h"
#include "mpv/VideoWindow.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

namespace qinglan::aplayer::lyrics {
namespace {

// A picture wider or taller than this is scaled down as it is read: the view never needs more,
// and a huge one would hold memory for nothing.
constexpr int kMaxPictureSide = 4096;
// How long the gradient animation takes to change a line's colour.
constexpr double kGradientMs = 400;
// Time constant of the eased scroll towards the current line.
constexpr double kScrollEaseMs = 100;
// After a drag's seek the position takes a moment to arrive: the released line stays put so
// long at most.
constexpr qint64 kSeekHoldMs = 1500;
// Seeks may land a little before the time asked for (an mp3's seek table has a hundred steps
// for the whole file): landed so far before the line released on, that line stays lit until
// the position reaches it.
constexpr int64_t kSeekLandingMs = 500;
// How often a hidden view looks whether it should show.
constexpr int kHiddenPollMs = 200;

qint64 monotonicMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

// One of the choices lo..hi; anything else is the fallback (an unknown choice is not the
// nearest known one).
int choiceValue(const std::map<int, std::string>& values, int id, int fallback, int lo, int hi) {
    auto it = values.find(id);
    auto n = it == values.end() ? std::nullopt : parseInteger(it->second);
    return n && *n >= lo && *n <= hi ? static_cast<int>(*n) : fallback;
}

int intValue(const std::map<int, std::string>& values, int id, int fallback, int lo, int hi) {
    auto it = values.find(id);
    if (it == values.end()) return fallback;
    auto n = parseInteger(it->second);
    if (!n) return fallback;
    return static_cast<int>(std::clamp<long long>(*n, lo, hi));
}

std::string textValue(const std::map<int, std::string>& values, int id) {
    auto it = values.find(id);
    return it == values.end() ? std::string() : it->second;
}

QColor colourValue(const std::map<int, std::string>& values, int id, QColor fallback) {
    return colourFromColorref(textValue(values, id)).value_or(fallback);
}

QColor withAlpha(QColor c, double alpha) {
    c.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
    return c;
}

QColor mix(QColor a, QColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

QFont fontOf(const LyricsStyle& s) {
    QFont font;
    if (!s.fontFamily.isEmpty()) font.setFamily(s.fontFamily);
    font.setPixelSize(s.pixelHeight);
    font.setWeight(static_cast<QFont::Weight>(s.weight));
    // A CJK character is as wide as the font is high: the width asked for is a stretch of that.
    font.setStretch(std::clamp(s.charWidth * 100 / std::max(1, s.pixelHeight), 50, 200));
    return font;
}

} // namespace

std::optional<QColor> colourFromColorref(std::string_view decimal) {
    auto v = parseInteger(decimal);
    if (!v || *v < 0 || *v > 0xFFFFFFFFLL) return std::nullopt;
    const auto c = static_cast<unsigned long long>(*v);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

LyricsStyle lyricsStyle(const std::map<int, std::string>& values, int lastBackground) {
    using namespace cfg;
    LyricsStyle s;
    const std::string align = textValue(values, LyricsAlign);
    s.align = align == "1"   ? LyricsStyle::Align::Left
              : align == "2" ? LyricsStyle::Align::Right
                             : LyricsStyle::Align::Centre;

    // "name;width;height;weight;spacing"; a missing or unreadable part keeps its default.
    const QStringList font = QString::fromStdString(textValue(values, LyricsFont)).split(';');
    QString name = font.value(0).trimmed();
    if (name.startsWith('@')) {
        s.verticalFontAsked = true;
        name = name.mid(1);
    }
    s.fontFamily = name;
    auto part = [&](int index, int fallback, int lo, int hi) {
        bool ok = false;
        const int v = font.value(index).trimmed().toInt(&ok);
        return ok ? std::clamp(v, lo, hi) : fallback;
    };
    s.charWidth = part(1, s.charWidth, 1, 400);
    s.pixelHeight = part(2, s.pixelHeight, 6, 200);
    s.weight = part(3, s.weight, 100, 900);
    s.lineSpacing = part(4, s.lineSpacing, 0, 200);

    s.text = colourValue(values, LyricsTextColour, s.text);
    s.highlight = colourValue(values, LyricsHighlight, s.highlight);
    s.border = isOn(textValue(values, LyricsBorder));
    s.borderColour = colourValue(values, LyricsBorderColour, s.borderColour);
    s.background = colourValue(values, LyricsBackColour, s.background);
    if (lastBackground == LyricsBackPicture)
        s.picture = QString::fromStdString(textValue(values, LyricsBackPicture));
    s.pictureFit = choiceValue(values, LyricsBackFit, 3, 1, 3);
    s.fade = isOn(textValue(values, LyricsFade));
    s.animation = choiceValue(values, LyricsAnimation, 0, 0, 2);
    s.intervalMs = intValue(values, LyricsInterval, 0, 0, 1000);
    s.offsetMs = intValue(values, LyricsOffset, 0, -86'400'000, 86'400'000);
    s.drag = isOn(textValue(values, LyricsDrag));
    return s;
}

// Results handed from a pool thread to the window thread: written once, then done is set.
struct LyricsView::ReadJob {
    std::atomic<bool> done{false};
    std::optional<Lyrics> result;
};

struct LyricsView::PictureJob {
    std::atomic<bool> done{false};
    QImage result;
};

LyricsView::LyricsView(VideoWindow* window, Host host) : window_(window), host_(std::move(host)) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    if (!window) return;
    window->setBackdrop([this](QPainter& p, const QRect& area) { paint(p, area); });
    QPointer<LyricsView> self(this);
    window->addPointerHandler(
        VideoWindow::PointerHandler{[self] { return self && self->dragActive(); },
                                    [self](QPoint from, QPoint to) {
                                        if (self) self->dragged(from, to);
                                    },
                                    [self](QPoint) {
                                        if (self) self->released();
                                    },
                                    {}});
}

LyricsView::~LyricsView() {
    if (!window_) return;
    window_->showBackdrop(false);
    window_->setBackdrop({});
}

void LyricsView::setConfig(int id, const std::string& value) {
    using namespace cfg;
    if (id < LyricsShow || id > LyricsAlign) return;
    values_[id] = value;
    if (id == LyricsBackColour || id == LyricsBackPicture) lastBackground_ = id;
    const QString picture = style_.picture;
    style_ = lyricsStyle(values_, lastBackground_);
    switch (id) {
    case LyricsShow:
        enabled_ = isOn(value);
        restartTimer();
        break;
    case LyricsInterval:
        restartTimer();
        break;
    case LyricsFile:
        if (value != file_) {
            // Another file: the old lines must not show over the new media meanwhile.
            lyrics_.reset();
            current_ = -1;
        }
        file_ = value;
        startRead();
        break;
    default:
        break;
    }
    if (style_.picture != picture || (id == LyricsBackPicture && !style_.picture.isEmpty()))
        startPictureLoad();
    if (window_ && shown_) window_->update();
}

void LyricsView::restartTimer() {
    if (!enabled_) {
        timer_.stop();
        tick(); // hides the view
        return;
    }
    timer_.start(tickInterval());
    tick();
}

int LyricsView::tickInterval() const {
    // Hidden (a video plays, nothing is open): only watch for an audio media now and then.
    if (!shown_) return kHiddenPollMs;
    if (style_.intervalMs > 0) return style_.intervalMs;
    const QScreen* screen = window_ ? window_->screen() : nullptr;
    const double rate = screen && screen->refreshRate() > 1 ? screen->refreshRate() : 60.0;
    return std::max(1, static_cast<int>(std::lround(1000.0 / rate)));
}

void LyricsView::startRead() {
    job_.reset();
    if (file_.empty()) {
        lyrics_.reset();
        return;
    }
    auto job = std::make_shared<ReadJob>();
    job_ = job;
    QThreadPool::globalInstance()->start([job, path = file_] {
        job->result = readLrcFile(path);
        job->done.store(true, std::memory_order_release);
    });
}

void LyricsView::startPictureLoad() {
    pictureJob_.reset();
    picture_ = QImage();
    if (style_.picture.isEmpty()) return;
    auto job = std::make_shared<PictureJob>();
    pictureJob_ = job;
    QThreadPool::globalInstance()->start([job, path = style_.picture] {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path.toStdString(), ec)) {
            QImageReader reader(path);
            reader.setAutoTransform(true);
            QSize size = reader.size();
            if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
                reader.setScaledSize(
                    size.scaled(kMaxPictureSide, kMaxPictureSide, Qt::KeepAspectRatio));
            job->result = reader.read();
        }
        job->done.store(true, std::memory_order_release);
    });
}

void LyricsView::collectJobs() {
    if (job_ && job_->done.load(std::memory_order_acquire)) {
        lyrics_ = std::move(job_->result);
        job_.reset();
        lastTickMs_ = -1; // start from the right line, not scrolling there
        heldLine_ = -1;
        lastPainted_ = {};
    }
    if (pictureJob_ && pictureJob_->done.load(std::memory_order_acquire)) {
        picture_ = std::move(pictureJob_->result);
        pictureJob_.reset();
        lastPainted_ = {};
    }
}

int LyricsView::headerCount() const {
    if (!lyrics_) return 0;
    return !lyrics_->title.empty() + !lyrics_->artist.empty() + !lyrics_->album.empty();
}

int LyricsView::displayCount() const {
    return lyrics_ ? headerCount() + static_cast<int>(lyrics_->lines.size()) : 0;
}

QString LyricsView::displayText(int index) const {
    if (!lyrics_ || index < 0) return {};
    const int header = headerCount();
    if (index >= header) {
        const size_t line = static_cast<size_t>(index - header);
        return line < lyrics_->lines.size() ? QString::fromStdString(lyrics_->lines[line].text)
                                            : QString();
    }
    for (const std::string* h : {&lyrics_->title, &lyrics_->artist, &lyrics_->album}) {
        if (h->empty()) continue;
        if (index-- == 0) return QString::fromStdString(*h);
    }
    return {};
}

double LyricsView::pitch() const {
    return std::max(1.0, QFontMetricsF(fontOf(style_)).height() + style_.lineSpacing);
}

void LyricsView::tick() {
    collectJobs();
    const bool show = enabled_ && displayCount() > 0 && host_.audioLoaded && host_.audioLoaded();
    if (show != shown_) {
        shown_ = show;
        dragging_ = false;
        heldLine_ = -1;
        if (window_) window_->showBackdrop(show);
        if (timer_.isActive()) timer_.setInterval(tickInterval());
    }
    if (!show) {
        lastTickMs_ = -1;
        return;
    }
    const qint64 now = monotonicMs();
    clockMs_ =
        lyricClock(host_.positionMs ? host_.positionMs() : 0, style_.offsetMs, lyrics_->offsetMs);
    current_ = currentLineAt(lyrics_->lines, clockMs_);
    if (heldLine_ >= static_cast<int>(lyrics_->lines.size())) heldLine_ = -1;
    if (heldLine_ >= 0) {
        // After a drag: until the seek has arrived, the line released on is the current one.
        const int64_t start = lyrics_->lines[static_cast<size_t>(heldLine_)].startMs;
        const bool arrived = clockMs_ >= start;
        const bool landedEarly = !arrived && clockMs_ >= start - kSeekLandingMs;
        if (arrived || (now >= heldUntilMs_ && !landedEarly))
            heldLine_ = -1;
        else
            current_ = heldLine_;
    }
    const int header = headerCount();
    // Before the first line the header stands in the middle (or the first line, unlit).
    const double target = current_ >= 0 ? header + current_ : std::max(0.0, (header - 1) / 2.0);
    if (lastTickMs_ < 0 || std::abs(target - scroll_) > 4) {
        scroll_ = target;
    } else {
        const double k = 1.0 - std::exp(-static_cast<double>(now - lastTickMs_) / kScrollEaseMs);
        scroll_ += (target - scroll_) * k;
        if (std::abs(target - scroll_) < 0.002) scroll_ = target;
    }
    lastTickMs_ = now;
    // Paused and settled, the picture is the last one: no repaint for nothing.
    const Painted painted{clockMs_, scroll_, current_};
    if (painted == lastPainted_) return;
    lastPainted_ = painted;
    if (window_) window_->update();
}

bool LyricsView::dragActive() const {
    return shown_ && style_.drag;
}

void LyricsView::dragged(QPoint from, QPoint to) {
    if (!dragging_) {
        dragging_ = true;
        dragScroll_ = scroll_;
    }
    const double p = pitch();
    dragScroll_ = std::clamp(dragScroll_ - (to.y() - from.y()) / p, 0.0,
                             std::max(0.0, static_cast<double>(displayCount() - 1)));
    if (window_) window_->update();
}

int LyricsView::lineUnderMarker() const {
    return static_cast<int>(std::lround(dragScroll_)) - headerCount();
}

int64_t LyricsView::markerPositionMs() const {
    const int line = lineUnderMarker();
    // On the header: the song from its start.
    if (!lyrics_ || line < 0 || line >= static_cast<int>(lyrics_->lines.size())) return 0;
    return positionOfLine(lyrics_->lines[static_cast<size_t>(line)], style_.offsetMs,
                          lyrics_->offsetMs);
}

void LyricsView::released() {
    if (!dragging_) return;
    dragging_ = false;
    if (!lyrics_ || lyrics_->lines.empty()) return;
    const int line = lineUnderMarker();
    const int64_t ms = markerPositionMs();
    scroll_ = dragScroll_;
    heldLine_ = line < 0 ? -1 : line;
    heldUntilMs_ = monotonicMs() + kSeekHoldMs;
    if (host_.seek) host_.seek(static_cast<int>(std::min<int64_t>(ms, INT32_MAX)));
    if (window_) window_->update();
}

void LyricsView::paintBackground(QPainter& p, const QRect& area) const {
    p.fillRect(area, style_.background);
    if (style_.picture.isEmpty() || picture_.isNull()) return;
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QRect target(QPoint(0, 0), picture_.size());
    if (style_.pictureFit == 1) {
        target = area;
    } else {
        if (style_.pictureFit == 2)
            target.setSize(picture_.size().scaled(area.size(), Qt::KeepAspectRatio));
        target.moveCenter(area.center());
    }
    p.drawImage(target, picture_);
}

void LyricsView::paintMarker(QPainter& p, const QRect& area, double linePitch) const {
    // Short rules at both sides of the centre line and the time the release would seek to.
    const int margin = std::max(8, area.width() / 20);
    const double y = area.top() + area.height() / 2.0;
    p.setPen(QPen(withAlpha(style_.highlight, 0.8), 2));
    p.drawLine(QPointF(area.left() + 2, y), QPointF(area.left() + margin - 4, y));
    p.drawLine(QPointF(area.right() - margin + 4, y), QPointF(area.right() - 2, y));
    const int64_t ms = markerPositionMs();
    QFont small = p.font();
    small.setPixelSize(std::max(10, static_cast<int>(linePitch / 3)));
    p.setFont(small);
    const QString time = QString::asprintf("%02d:%02d", static_cast<int>(ms / 60000),
                                           static_cast<int>(ms / 1000 % 60));
    p.drawText(QRectF(area.right() - margin * 3, y - linePitch / 2, margin * 3 - 4, linePitch / 2),
               Qt::AlignRight | Qt::AlignBottom, time);
}

void LyricsView::paint(QPainter& p, const QRect& area) {
    paintBackground(p, area);
    if (!lyrics_) return;
    const auto& lines = lyrics_->lines;
    const QFont font = fontOf(style_);
    const QFontMetricsF fm(font);
    const double linePitch = pitch();
    const double centre = dragging_ ? dragScroll_ : scroll_;
    const double half = area.height() / linePitch / 2.0 + 1;
    const int header = headerCount();
    const int first = std::max(0, static_cast<int>(std::floor(centre - half)));
    const int last = std::min(displayCount() - 1, static_cast<int>(std::ceil(centre + half)));
    const int margin = std::max(8, area.width() / 20);
    const double room = std::max(1, area.width() - 2 * margin);

    // Lines that start together (a line and its translation) are lit together.
    constexpr int64_t kNone = std::numeric_limits<int64_t>::min();
    const int64_t currentStart =
        current_ >= 0 ? lines[static_cast<size_t>(current_)].startMs : kNone;
    int64_t previousStart = kNone;
    for (int i = current_; i >= 0; --i)
        if (lines[static_cast<size_t>(i)].startMs != currentStart) {
            previousStart = lines[static_cast<size_t>(i)].startMs;
            break;
        }
    const double sinceChange = static_cast<double>(clockMs_ - currentStart);

    p.setRenderHint(QPainter::Antialiasing);
    for (int i = first; i <= last; ++i) {
        const QString text = displayText(i);
        if (text.isEmpty()) continue;
        const int line = i - header;
        const int64_t start = line >= 0 ? lines[static_cast<size_t>(line)].startMs : kNone;
        const bool isCurrent = line >= 0 && currentStart != kNone && start == currentStart;
        const bool wasCurrent = line >= 0 && previousStart != kNone && start == previousStart;

        const double width = fm.horizontalAdvance(text);
        const double scale = width > room ? room / width : 1.0; // a long line is drawn smaller
        const double drawn = width * scale;
        double x = area.left() + (area.width() - drawn) / 2;
        if (style_.align == LyricsStyle::Align::Left) x = area.left() + margin;
        if (style_.align == LyricsStyle::Align::Right) x = area.right() + 1 - margin - drawn;
        const double y = area.top() + area.height() / 2.0 + (i - centre) * linePitch;
        const double baseline = y + (fm.ascent() - fm.descent()) * scale / 2;
        QPainterPath path;
        path.addText(0, 0, font, text);
        QTransform place;
        place.translate(x, baseline);
        place.scale(scale, scale);
        path = place.map(path);

        double alpha = 1;
        if (style_.fade) {
            const double d = std::abs(i - centre) / half;
            alpha = std::clamp(1.0 - d * d, 0.0, 1.0);
        }
        if (alpha <= 0) continue;
        if (style_.border)
            p.strokePath(path, QPen(withAlpha(style_.borderColour, alpha),
                                    std::max(2.0, style_.pixelHeight / 8.0) * scale, Qt::SolidLine,
                                    Qt::RoundCap, Qt::RoundJoin));

        QColor fill = style_.text;
        if (isCurrent && style_.animation == 0) fill = style_.highlight;
        if (style_.animation == 1 && (isCurrent || wasCurrent)) {
            const double t = sinceChange / kGradientMs;
            fill = isCurrent ? mix(style_.text, style_.highlight, t)
                             : mix(style_.highlight, style_.text, t);
        }
        p.fillPath(path, withAlpha(fill, alpha));
        if (!isCurrent || style_.animation != 2) continue;

        // The wipe: the sung part of the line in the highlight colour, word by word where the
        // file gives word times.
        const SungProgress sung = sungProgress(lines, line, clockMs_);
        double sungWidth = sung.fraction * width;
        const auto& words = lines[static_cast<size_t>(line)].words;
        if (sung.word >= 0 && sung.word < static_cast<int>(words.size())) {
            double before = 0;
            for (int w = 0; w < sung.word; ++w)
                before += fm.horizontalAdvance(
                    QString::fromStdString(words[static_cast<size_t>(w)].text));
            const double own = fm.horizontalAdvance(
                QString::fromStdString(words[static_cast<size_t>(sung.word)].text));
            sungWidth = before + sung.fraction * own;
        }
        if (sungWidth <= 0) continue;
        p.save();
        p.setClipRect(
            QRectF(area.left(), y - linePitch, x - area.left() + sungWidth * scale, 2 * linePitch));
        p.fillPath(path, withAlpha(style_.highlight, alpha));
        p.restore();
    }
    if (dragging_) paintMarker(p, area, linePitch);
}

} // namespace qinglan::aplayer::lyrics
