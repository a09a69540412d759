#include "window/ui/event_list_model.h"

namespace kalvo {

EventListModel::EventListModel(SharedEntries entries, QObject* parent)
    : QAbstractListModel(parent),
      read_(std::move(entries.owner)),
      list_(entries.list()),
      entries_(std::move(entries.entries)) {
    if (entries.shared.empty()) list_ = entries_;
    else shared_ = true;
}

std::vector<std::string_view>& EventListModel::own() {
    if (shared_) entries_.assign(list_.begin(), list_.end());
    shared_ = false;
    return entries_;
}

int EventListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

// The combo box asks for the data of no entry (row -1) when its selection is cleared: an
// empty answer, as for any model. An index of this model that is out of range is a fault,
// and checkIndex says so.
QVariant EventListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const std::string_view text = list_[static_cast<size_t>(index.row())];
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool EventListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return false;
    if (role != Qt::DisplayRole && role != Qt::EditRole) return false;
    set_.push_back(value.toString().toStdString());
    own()[static_cast<size_t>(index.row())] = set_.back();
    list_ = entries_;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags EventListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return QAbstractListModel::flags(index);
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

bool EventListModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || count < 1 || row < 0 || row > rowCount()) return false;
    beginInsertRows(parent, row, row + count - 1);
    auto& list = own();
    list.insert(list.begin() + row, static_cast<size_t>(count), std::string_view());
    list_ = list;
    endInsertRows();
    return true;
}

bool EventListModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || count < 1 || row < 0 || row + count > rowCount()) return false;
    beginRemoveRows(parent, row, row + count - 1);
    auto& list = own();
    list.erase(list.begin() + row, list.begin() + row + count);
    list_ = list;
    endRemoveRows();
    return true;
}

}  // namespace kalvo
