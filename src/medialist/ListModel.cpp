#include "medialist/ListModel.h"

#include "medialist/ListPaths.h"

namespace qinglan::medialist {

namespace {
QString decoded(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
} // namespace

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const int row = index.row();
    return decoded(index.column() == 0 && role == Qt::DisplayRole ? name(row) : path(row));
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QStringLiteral("视频列表");
    if (section == 1) return QStringLiteral("路径列表");
    return {};
}

bool ListModel::accept(std::string_view path) {
    const std::string_view n = displayName(path);
    if (n.empty()) return false;
    if (!seenNames_.emplace(n).second) return false;
    rows_.push_back({std::string(path), static_cast<std::uint32_t>(path.size() - n.size())});
    return true;
}

bool ListModel::addRow(std::string_view path) {
    const std::string_view n = displayName(path);
    if (n.empty() || isShown(n)) return false;
    beginInsertRows({}, count(), count());
    accept(path);
    endInsertRows();
    return true;
}

int ListModel::addRows(const std::vector<std::string>& paths) {
    // Which rows are new is known only by trying; the view hears of them in one insertion.
    std::vector<Row> added;
    const std::size_t before = rows_.size();
    for (const auto& p : paths)
        accept(p);
    const int n = static_cast<int>(rows_.size() - before);
    if (n == 0) return 0;
    added.assign(std::make_move_iterator(rows_.begin() + static_cast<std::ptrdiff_t>(before)),
                 std::make_move_iterator(rows_.end()));
    rows_.resize(before);
    beginInsertRows({}, static_cast<int>(before), static_cast<int>(before) + n - 1);
    std::move(added.begin(), added.end(), std::back_inserter(rows_));
    endInsertRows();
    return n;
}

void ListModel::removeRow(int row) {
    if (row < 0 || row >= count()) return;
    beginRemoveRows({}, row, row);
    seenNames_.erase(std::string(name(row)));
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void ListModel::clear() {
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    seenNames_.clear();
    endResetModel();
}

std::string_view ListModel::path(int row) const {
    if (row < 0 || row >= count()) return {};
    return rows_[static_cast<std::size_t>(row)].path;
}

std::string_view ListModel::name(int row) const {
    if (row < 0 || row >= count()) return {};
    const Row& r = rows_[static_cast<std::size_t>(row)];
    return std::string_view(r.path).substr(r.nameAt);
}

bool ListModel::isShown(std::string_view n) const {
    return seenNames_.count(std::string(n)) != 0;
}

int ListModel::rowOf(std::string_view path) const {
    // Its name is shown once at most, so only a row whose name is shown can hold the path.
    if (!isShown(displayName(path))) return -1;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].path == path) return static_cast<int>(i);
    return -1;
}

} // namespace qinglan::medialist
