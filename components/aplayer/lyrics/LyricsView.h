#pragma once
// The lyrics view of the engine: while an audio media is loaded and lyrics are on (1302 "1"),
// the lines of the .lrc file named by 1305 are drawn over the video window in place of the
// logo, the current line in the highlight colour, scrolling as the position advances. With
// lyrics off, or without a readable file, the window shows what it did before.
//
// Styling ids (values as the player sends them): 1328 alignment, 1311 font
// "name;width;height;weight;spacing", 1312 text, 1313 highlight, 1314/1315 border and its
// colour, 1307 background colour or 1308 picture (whichever came last) fitted by 1310, 1318
// fading of the lines towards the edges, 1319 animation, 1303 update interval (0 = every frame
// of the screen), 1320 time offset (added to the file's [offset:]), 1321 dragging.
// A font name with a leading "@" (the vertical-writing form) is drawn horizontally in the
// plain-named font: the view scrolls lines vertically, and vertical columns would not fit it.
//
// The file is read and parsed on a pool thread; the window thread only picks up the result.
// Everything else runs on the window thread.
#include "lyrics/LrcParser.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class QPainter;

namespace qinglan::aplayer {
class VideoWindow;
}

namespace qinglan::aplayer::lyrics {

struct LyricsStyle {
    enum class Align { Left, Centre, Right };
    Align align = Align::Centre;
    QString fontFamily;
    bool verticalFontAsked = false; // the name began with "@"
    int charWidth = 20;             // px; with the height it gives the font's stretch
    int pixelHeight = 25;
    int weight = 700; // 100..900
    int lineSpacing = 20;
    QColor text{0, 136, 255};
    QColor highlight{255, 255, 0};
    bool border = false;
    QColor borderColour{0, 0, 0};
    QColor background{0, 0, 0};
    QString picture;    // empty: the background colour
    int pictureFit = 3; // 1 stretch, 2 keep aspect, 3 centre
    bool fade = false;
    int animation = 0;  // 0 none, 1 gradient, 2 progress wipe
    int intervalMs = 0; // 0 = every frame
    int offsetMs = 0;
    bool drag = false;
};

// COLORREF as a decimal text (0x00BBGGRR); nullopt for anything else.
std::optional<QColor> colourFromColorref(std::string_view decimal);
// The style from the ids received so far; lastBackground is 1307 or 1308, whichever came last.
LyricsStyle lyricsStyle(const std::map<int, std::string>& values, int lastBackground);

class LyricsView : public QObject {
public:
    struct Host {
        std::function<int()> positionMs;
        std::function<bool()> audioLoaded; // an audio media is open, playing or paused
        std::function<void(int ms)> seek;
    };
    LyricsView(VideoWindow* window, Host host);
    ~LyricsView() override;

    // Ids 1302-1328; any other id is ignored.
    void setConfig(int id, const std::string& value);

    // For tests: the lyrics read (nullptr while none), whether a read is under way, whether the
    // view is on show, and the line at the centre.
    const Lyrics* lyrics() const { return lyrics_ ? &*lyrics_ : nullptr; }
    bool reading() const { return job_ != nullptr; }
    bool shown() const { return shown_; }
    int currentLine() const { return current_; }
    const LyricsStyle& style() const { return style_; }

private:
    struct ReadJob;
    struct PictureJob;

    void tick();
    void collectJobs();
    void startRead();
    void startPictureLoad();
    void restartTimer();
    int tickInterval() const;
    void paint(QPainter& p, const QRect& area);
    void paintBackground(QPainter& p, const QRect& area) const;
    void paintMarker(QPainter& p, const QRect& area, double pitch) const;
    int headerCount() const;
    int displayCount() const;
    QString displayText(int index) const;
    double pitch() const; // from one line to the next, at least 1 px
    bool dragActive() const;
    void dragged(QPoint from, QPoint to);
    void released();
    // The line at the drag marker (negative on the header) and the position a release there
    // seeks to.
    int lineUnderMarker() const;
    int64_t markerPositionMs() const;

    QPointer<VideoWindow> window_;
    Host host_;
    std::map<int, std::string> values_;
    int lastBackground_ = 0;
    LyricsStyle style_;
    bool enabled_ = false;
    std::string file_;
    std::optional<Lyrics> lyrics_;
    std::shared_ptr<ReadJob> job_;
    std::shared_ptr<PictureJob> pictureJob_;
    QImage picture_;
    QTimer timer_;

    bool shown_ = false;
    int64_t clockMs_ = 0;
    int current_ = -1;  // index into lyrics_->lines
    double scroll_ = 0; // display index at the centre, eased towards the current line
    qint64 lastTickMs_ = -1;
    bool dragging_ = false;
    double dragScroll_ = 0;
    int heldLine_ = -1; // the line released on, current until the seek arrives
    qint64 heldUntilMs_ = 0;
    struct Painted {
        int64_t clockMs = -1;
        double scroll = -1;
        int current = -2;
        bool operator==(const Painted&) const = default;
    };
    Painted lastPainted_;
};

} // namespace qinglan::aplayer::lyrics
