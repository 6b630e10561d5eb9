#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "LogImport.h"

namespace orvane {

// The imported log table as a Qt model for the imported table
// (SdCardId::kImportTable). Cells are cut from the
// file's lines only when the view asks for them, so hundreds of thousands of
// rows cost a few bytes each. GUI thread only.
class LogImportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Replaces the table (null empties the list, as at the start of an import).
    void SetTable(std::shared_ptr<const LogTable> table);
    const LogTable* Table() const { return m_table.get(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The column widths of the imported table, in pixels.
    static int ColumnWidth(int column);

private:
    std::shared_ptr<const LogTable> m_table;
};

}  // namespace orvane
