// The event list as the combo box's model: the entries stay the UTF-8 strings they were
// read as, and become QStrings only when the list shows or asks for one. A list of
// 100,000 entries then costs no conversion and no second copy at start-up.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace kalvo {

class EventListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit EventListModel(std::vector<std::string> entries, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;
    // The entries as the list holds them.
    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

}  // namespace kalvo
