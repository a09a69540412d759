// The event list as the combo box's model: the entries stay the UTF-8 text they were read
// as, views into the decoded file that all share, and become QStrings only when the list
// shows or asks for one. A list of 100,000 entries then costs no conversion, no copy and
// no allocation per entry at start-up.
#pragma once

#include "core/events/event_file.h"

#include <QAbstractListModel>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

class EventListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit EventListModel(SharedEntries entries, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;
    // The entries as the list holds them, until it changes; the views stay valid as long
    // as the model.
    std::span<const std::string_view> entries() const { return list_; }

private:
    // The list as this model's own, to be changed: a list that is the read file's lines
    // is copied first.
    std::vector<std::string_view>& own();

    std::shared_ptr<const void> read_;        // the texts as read
    std::deque<std::string> set_;             // texts given in this run (a deque keeps them in place)
    std::span<const std::string_view> list_;  // the entries: the file's lines, or entries_
    std::vector<std::string_view> entries_;
    bool shared_ = false;  // list_ is the file's lines
};

}  // namespace kalvo
