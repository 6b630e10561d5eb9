#include "LogImportTableModel.h"

namespace orvane {

void LogImportTableModel::SetTable(std::shared_ptr<const LogTable> table) {
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int LogImportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_table ? 0 : m_table->RowCount();
}

int LogImportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_table ? 0 : static_cast<int>(m_table->Titles().size());
}

QVariant LogImportTableModel::data(const QModelIndex& index, int role) const {
    if (!m_table || !index.isValid()) return {};
    if (role == Qt::DisplayRole) return m_table->Cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

QVariant LogImportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!m_table || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole && section >= 0 && section < m_table->Titles().size())
        return m_table->Titles()[section];
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

int LogImportTableModel::ColumnWidth(int column) {
    static const int kWidths[kLogColumns] = {50,  110, 100, 130, 120, 130, 120, 130, 130,
                                             120, 120, 120, 120, 120, 120, 120, 120, 60};
    return column >= 0 && column < kLogColumns ? kWidths[column] : 100;
}

}  // namespace orvane
