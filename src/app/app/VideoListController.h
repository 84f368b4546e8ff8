#pragma once
// The video list window at work: its rows from means.edb, the play order, the folder scan,
// the add-files helper and its poll, delete and clear. One per main window, a child of it;
// everything runs on the window thread except the scan's walk (FolderScan).

#include <medialist/FolderScan.h>
#include <medialist/ListModel.h>
#include <medialist/ListStore.h>
#include <medialist/PlayOrder.h>
#include <ui/CatalogueWindow.h>

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTreeView>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QTimer;

namespace qinglan::app {

class MainWindow;

class VideoListController : public QObject {
    Q_OBJECT
public:
    explicit VideoListController(MainWindow& main);
    ~VideoListController() override;
    static VideoListController* of(const MainWindow& main);

    // The window's creation: the list view, LoadList, sequential mode, the row of field 172.
    void setUp(ui::CatalogueWindow* window);
    // Width 520 at most; the list fills the window less 15 pixels at the bottom.
    void fitToWindow();

    medialist::ListModel& model() { return model_; }
    medialist::PlayOrder& order() { return order_; }
    QTreeView* view() const { return view_; }
    int selectedRow() const;
    void select(int row);

    void playEntry();
    void advanceAtEnd();
    void playNext();
    void playPrevious();

    void addFolder();
    void scanFolder(const std::string& folder);
    bool scanning() const;
    void launchAddFiles();
    void pollAddFiles();
    void openContainingFolder();
    // Opens the delete prompt for the selected row; the prompt keeps that row's path.
    void askDelete();
    // The path the delete prompt was opened for; none when no row was selected then.
    static std::optional<std::string> deleteTarget(const QWidget* prompt);
    // The prompt's "确认" in delete mode: the entry of that path goes, and its file when asked;
    // nothing happens when the entry is no longer in the list.
    void confirmDelete(const std::string& path, bool deleteFile);
    void clearList();
    void setLoopMode(medialist::LoopMode mode);

    // What reaches the desktop, replaceable for tests.
    std::function<std::string()> chooseFolder;          // "" when cancelled
    std::function<void(const std::string&)> openFolder; // the file manager
    std::function<bool()> addFilesRunning;              // the helper's process check
    std::function<void()> startAddFiles;                // starts the helper

    static constexpr const char* kDeletePathProperty = "deletePath";
    static constexpr int kPollMs = 1000;
    static constexpr int kMaxWidth = 520;
    static constexpr int kBottomMargin = 15;

private:
    void step(int (medialist::PlayOrder::*move)(medialist::ListPosition&));
    void play(int row);
    void loadList();
    void reload();
    void showStoreNotices();
    void showScanProgress(long long found, const QString& folder);
    void showScanFailure(const QString& why);
    void scanEnded();
    QTimer* pollTimer() const;

    MainWindow& main_;
    QPointer<ui::CatalogueWindow> window_;
    QPointer<QTreeView> view_;
    medialist::ListModel model_;
    medialist::PlayOrder order_;
    std::unique_ptr<medialist::ListStore> store_;
    std::unique_ptr<medialist::FolderScan> scan_;
    QPointer<QProgressDialog> progress_;
};

} // namespace qinglan::app
