#pragma once
// The rows of the video list for a Qt item view: column 0 "视频列表" the display name, column 1
// "路径列表" the full path. A row is added only while its display name is not yet shown
// (seenNames), so a name appears once however many folders hold it; rows with an empty name
// are never kept. Paths are kept as the bytes they came as and shown decoded as UTF-8.
//
// Built for lists of 100,000 rows and more: a row is its path and the offset of its name, and
// batches are inserted with one model notification. Window thread only.

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qinglan::medialist {

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // AddRow with the display name of `path`; false when the name is shown already or empty.
    bool addRow(std::string_view path);
    // addRow for each path in order, with one insertion; answers how many rows were added.
    int addRows(const std::vector<std::string>& paths);
    // Removes the row and its name from the shown names.
    void removeRow(int row);
    // Removes every row and forgets every name.
    void clear();

    int count() const { return static_cast<int>(rows_.size()); }
    std::string_view path(int row) const;
    std::string_view name(int row) const;
    bool isShown(std::string_view name) const;
    // The row showing exactly this path, or -1.
    int rowOf(std::string_view path) const;

private:
    struct Row {
        std::string path;
        std::uint32_t nameAt; // the display name is path.substr(nameAt)
    };
    bool accept(std::string_view path);

    std::vector<Row> rows_;
    std::unordered_set<std::string> seenNames_;
};

} // namespace qinglan::medialist
