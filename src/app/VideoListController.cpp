#include "app/VideoListController.h"

#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <aplayer/Engine.h>
#include <desktop/HelperPrograms.h>
#include <medialist/ListPaths.h>
#include <platform/ProcessList.h>
#include <settings/SettingsFields.h>
#include <settings/StoreLocation.h>
#include <ui/Controls.h>
#include <ui/Find.h>
#include <ui/WindowFactory.h>

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include <filesystem>
#include <system_error>

namespace qinglan::app {

namespace {

constexpr const char* kAddFilesProgram = "qinglan-addfiles";

// Where mote.edb is, means.edb is.
std::filesystem::path dataFolder() {
    auto& state = processState();
    if (state.store) return state.store->file().parent_path();
    return settings::dataDirectory(settings::programDirectory());
}

} // namespace

VideoListController::VideoListController(MainWindow& main) : QObject(&main), main_(main) {
    setObjectName("VideoListController");
    chooseFolder = [this]() -> std::string {
        const QString chosen = QFileDialog::getExistingDirectory(
            nullptr, QStringLiteral("请选择一个文件夹"), QString(), QFileDialog::ShowDirsOnly);
        return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
    };
    openFolder = [](const std::string& folder) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(folder.c_str())));
    };
    addFilesRunning = [] { return platform::isProcessRunning(kAddFilesProgram, false); };
    startAddFiles = [] {
        const auto program = desktop::helperProgram(settings::programDirectory(), kAddFilesProgram);
        // The helper runs on its own; the player keeps no handle and never stops it. A helper
        // that cannot start is noticed by the first poll, which then reloads the list as it is.
        QProcess::startDetached(QString::fromStdString(program.string()), {"$DINE"});
    };
}

VideoListController::~VideoListController() = default;

VideoListController* VideoListController::of(const MainWindow& main) {
    return main.findChild<VideoListController*>("VideoListController", Qt::FindDirectChildrenOnly);
}

void VideoListController::setUp(ui::CatalogueWindow* window) {
    window_ = window;
    // No caption of its own: a blank title rather than the application's name.
    window->setWindowTitle(QStringLiteral(" "));
    // The list is a view on the model, not an item per row, so a list of 100,000 files costs
    // what is on screen. It takes the designed control's place, name and events.
    auto* designed = ui::find<QTreeWidget>(window, ui::ids::VideoList);
    auto* view = new QTreeView(window);
    view->setModel(&model_);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->header()->setStretchLastSection(true);
    if (designed) {
        view->setGeometry(designed->geometry());
        designed->setObjectName({});
        delete designed;
    }
    view->setObjectName(ui::nameOf(ui::ids::VideoList));
    view_ = view;
    const auto run = [this](const char* handler, const std::function<void(ui::UiEvent&)>& fill) {
        const ui::Handler* h = main_.handlers().find(handler);
        if (!h || !window_) return;
        ui::UiEvent e;
        e.window = window_;
        e.control = ui::nameOf(ui::ids::VideoList);
        e.source = view_;
        fill(e);
        (*h)(e);
    };
    connect(view, &QAbstractItemView::doubleClicked, this, [run](const QModelIndex& index) {
        run("PlayEntry", [&](ui::UiEvent& e) {
            e.kind = ui::EventKind::RowDoubleClicked;
            e.first = index.row();
        });
    });
    connect(view, &QWidget::customContextMenuRequested, this, [this, run](QPoint at) {
        run("popUpListMenu", [&](ui::UiEvent& e) {
            e.kind = ui::EventKind::RightClicked;
            e.first = view_->indexAt(at).row();
            e.globalPos = view_->viewport()->mapToGlobal(at);
        });
    });

    store_ = std::make_unique<medialist::ListStore>(dataFolder());
    if (auto opened = processState().prefetch.takeList(dataFolder()))
        store_->adopt(std::move(*opened));
    scan_ = std::make_unique<medialist::FolderScan>(
        medialist::FolderScan::Options{.listFile = store_->file()});
    connect(scan_.get(), &medialist::FolderScan::rowsFound, this,
            [this](const std::vector<std::string>& paths) { model_.addRows(paths); });
    connect(scan_.get(), &medialist::FolderScan::progress, this,
            &VideoListController::showScanProgress);
    connect(scan_.get(), &medialist::FolderScan::finished, this,
            [this](bool, const QString& storeError) {
                if (!storeError.isEmpty()) showScanFailure(storeError);
                scanEnded();
            });

    loadList();
    setLoopMode(medialist::LoopMode::Sequential);
    select(processState().record.integer(settings::field::ListRow));
    view->show();
    fitToWindow();
}

void VideoListController::fitToWindow() {
    if (!window_) return;
    if (window_->width() >= kMaxWidth) window_->resize(kMaxWidth, window_->height());
    if (view_) view_->setGeometry(0, 0, window_->width(), window_->height() - kBottomMargin);
}

int VideoListController::selectedRow() const {
    if (!view_ || !view_->selectionModel()) return -1;
    const auto rows = view_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void VideoListController::select(int row) {
    if (!view_ || !view_->selectionModel()) return;
    if (row >= 0 && row < model_.count()) {
        const QModelIndex index = model_.index(row, 0);
        view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        view_->scrollTo(index);
    } else if (row == -1) {
        view_->selectionModel()->clearSelection();
    }
}

void VideoListController::play(int row) {
    if (row < 0 || row >= model_.count() || model_.name(row).empty()) return;
    auto& state = processState();
    state.currentMedia = std::string(model_.path(row));
    main_.playback().openAndPlay(state.currentMedia);
}

void VideoListController::step(int (medialist::PlayOrder::*move)(medialist::ListPosition&)) {
    medialist::ListPosition list{model_.count(), selectedRow()};
    const int row = (order_.*move)(list);
    select(list.selected);
    play(row);
}

void VideoListController::advanceAtEnd() {
    step(&medialist::PlayOrder::advanceAtEnd);
}
void VideoListController::playNext() {
    step(&medialist::PlayOrder::playNext);
}
void VideoListController::playPrevious() {
    step(&medialist::PlayOrder::playPrevious);
}

void VideoListController::playEntry() {
    medialist::ListPosition list{model_.count(), selectedRow()};
    const int row = order_.playChosen(list);
    main_.setLogoVisible(false);
    auto& state = processState();
    if (state.shareMode) {
        // A list entry is a local file: the stream's share layout gives way to the normal one.
        state.shareMode = false;
        QWidget* mainWindow = main_.window();
        QWidget* video = main_.engine().APlayer_GetWindow();
        if (auto* bar = main_.controlBar()) bar->show();
        if (video && mainWindow)
            video->setGeometry(0, 0, mainWindow->width(), mainWindow->height() - 62);
        if (state.geometryFrozen) {
            if (auto* bar = main_.controlBar()) bar->hide();
            if (video && mainWindow)
                video->setGeometry(0, 0, mainWindow->width(), mainWindow->height());
        }
    }
    play(row);
}

void VideoListController::loadList() {
    if (!store_) return;
    if (auto paths = store_->paths(); paths.ok()) model_.addRows(paths.value());
    showStoreNotices();
}

void VideoListController::reload() {
    if (!store_) return;
    if (auto paths = store_->paths(); paths.ok()) model_.addRows(paths.value());
    showStoreNotices();
    processState().fileConfigChanged = true;
    main_.sidePanelCheck();
}

void VideoListController::showStoreNotices() {
    for (const auto& notice : store_->takeNotices()) {
        auto* box =
            new QMessageBox(QMessageBox::Warning, QStringLiteral("青岚播放器"),
                            QString::fromStdString(notice), QMessageBox::Ok, main_.window());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setObjectName("listNotice");
        box->setModal(false);
        QTimer::singleShot(0, box, &QMessageBox::show);
    }
}

void VideoListController::showScanFailure(const QString& why) {
    // Not modal, like the other notices: the player goes on while the user reads it.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("添加文件夹"), why,
                                QMessageBox::Ok, main_.window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName("scanFailure");
    box->setModal(false);
    box->show();
}

void VideoListController::addFolder() {
    const std::string folder = chooseFolder ? chooseFolder() : std::string();
    if (folder.empty()) return; // cancelled: nothing changes
    scanFolder(folder);
}

void VideoListController::scanFolder(const std::string& folder) {
    if (!scan_) return;
    scan_->scan(folder);
    // A quick scan ends before anyone could read its progress; a long one shows it.
    QTimer::singleShot(400, this, [this] {
        if (!scanning() || progress_ || !window_) return;
        progress_ = new QProgressDialog(QStringLiteral("正在扫描文件夹……"), QStringLiteral("取消"),
                                        0, 0, window_);
        progress_->setObjectName("scanProgress");
        progress_->setWindowTitle(QStringLiteral("添加文件夹"));
        progress_->setWindowModality(Qt::NonModal);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setAttribute(Qt::WA_DeleteOnClose);
        connect(progress_, &QProgressDialog::canceled, this, [this] { scan_->cancel(); });
        progress_->show();
    });
}

bool VideoListController::scanning() const {
    return scan_ && scan_->running();
}

void VideoListController::showScanProgress(long long found, const QString& folder) {
    if (progress_)
        progress_->setLabelText(
            QStringLiteral("已找到 %1 个文件\n正在读取：%2").arg(found).arg(folder));
}

void VideoListController::scanEnded() {
    if (scanning()) return; // more folders follow
    if (progress_) progress_->close();
    // A scan that was cancelled keeps its rows and counts as a change of the files all the same.
    processState().fileConfigChanged = true;
    main_.sidePanelCheck();
}

QTimer* VideoListController::pollTimer() const {
    return window_ ? ui::find<QTimer>(window_, ui::ids::AddFilesPollClock) : nullptr;
}

void VideoListController::launchAddFiles() {
    main_.sidePanelCheck();
    if (startAddFiles) startAddFiles();
    if (auto* timer = pollTimer()) ui::setClockPeriod(timer, kPollMs);
}

void VideoListController::pollAddFiles() {
    if (addFilesRunning && addFilesRunning()) return; // the next tick asks again
    if (auto* timer = pollTimer()) ui::setClockPeriod(timer, 0);
    reload();
}

void VideoListController::openContainingFolder() {
    const int row = selectedRow();
    if (row < 0) return;
    const std::string folder(medialist::containingFolder(model_.path(row)));
    if (!folder.empty() && openFolder) openFolder(folder);
}

void VideoListController::askDelete() {
    auto* prompt = openPrompt(main_, PromptMode::DeleteEntry);
    if (!prompt) return;
    // The prompt stays open while the list goes on (an item ends and the next is selected,
    // the user clicks another row): its answer belongs to the entry it was opened for.
    const int row = selectedRow();
    prompt->setProperty(
        kDeletePathProperty,
        row < 0 ? QVariant() : QVariant(QByteArray::fromStdString(std::string(model_.path(row)))));
}

std::optional<std::string> VideoListController::deleteTarget(const QWidget* prompt) {
    const QVariant path = prompt ? prompt->property(kDeletePathProperty) : QVariant();
    if (!path.isValid()) return std::nullopt;
    return path.toByteArray().toStdString();
}

void VideoListController::confirmDelete(const std::string& path, bool deleteFile) {
    // A path is shown in one row at most (one row per name); an entry that left the list
    // meanwhile is not there to delete, and its file is left alone.
    const int row = model_.rowOf(path);
    if (row < 0 || !store_) return;
    // Only this row's own file, and only a file: a failure leaves it, the entry goes anyway.
    if (deleteFile) {
        const std::filesystem::path file(path);
        std::error_code ec;
        if (!std::filesystem::is_directory(std::filesystem::symlink_status(file, ec)))
            std::filesystem::remove(file, ec);
    }
    model_.removeRow(row);
    store_->remove(path);
}

void VideoListController::clearList() {
    model_.clear();
    if (store_) store_->clear();
}

void VideoListController::setLoopMode(medialist::LoopMode mode) {
    order_.setLoopMode(mode);
    const char* chosen = mode == medialist::LoopMode::Sequential ? "setLoopSequential"
                         : mode == medialist::LoopMode::Random   ? "setLoopRandom"
                                                                 : "setLoopRepeatOne";
    if (QMenu* menu = window_ ? window_->menu(QStringLiteral("右键菜单")) : nullptr)
        for (QAction* item : menu->findChildren<QAction*>()) {
            const QString handler = item->property("handler").toString();
            if (handler.startsWith(QStringLiteral("setLoop")))
                item->setChecked(handler == QLatin1String(chosen));
        }
}

} // namespace qinglan::app
