#include "SdCardView.h"

namespace orvane {

void MemorySdCardView::SetFileRows(const QStringList& names) {
    std::lock_guard lock(m_mutex);
    m_names = names;
    m_selected = -1;
    m_sizes = QStringList();
    for (qsizetype i = 0; i < names.size(); ++i) m_sizes.append(QString());
}

void MemorySdCardView::SetFileSize(int row, const QString& sizeText) {
    std::lock_guard lock(m_mutex);
    if (row >= 0 && row < m_sizes.size()) m_sizes[row] = sizeText;
}

void MemorySdCardView::RemoveFileRow(int row) {
    std::lock_guard lock(m_mutex);
    if (row < 0 || row >= m_names.size()) return;
    m_names.removeAt(row);
    m_sizes.removeAt(row);
    // As a list widget does: the highlight of a removed row moves on to the
    // row that takes its place.
    if (m_selected > row || m_selected >= m_names.size()) --m_selected;
}

void MemorySdCardView::SelectFileRow(int row) {
    std::lock_guard lock(m_mutex);
    m_selected = row;
}

int MemorySdCardView::SelectedRow() const {
    std::lock_guard lock(m_mutex);
    return m_selected;
}

void MemorySdCardView::SetProgressRange(int maximum) {
    std::lock_guard lock(m_mutex);
    m_maximum = maximum;
}

void MemorySdCardView::SetProgress(int value) {
    std::lock_guard lock(m_mutex);
    m_progress = value;
}

void MemorySdCardView::ImportStarted() {
    std::lock_guard lock(m_mutex);
    ++m_importsStarted;
    m_table.reset();
}

void MemorySdCardView::ImportProgress(int percent) {
    std::lock_guard lock(m_mutex);
    m_importPercent = percent;
}

void MemorySdCardView::ImportFinished(std::shared_ptr<const LogTable> table) {
    std::lock_guard lock(m_mutex);
    ++m_importsFinished;
    m_table = std::move(table);
}

QStringList MemorySdCardView::Names() const {
    std::lock_guard lock(m_mutex);
    return m_names;
}

QStringList MemorySdCardView::Sizes() const {
    std::lock_guard lock(m_mutex);
    return m_sizes;
}

int MemorySdCardView::ProgressMaximum() const {
    std::lock_guard lock(m_mutex);
    return m_maximum;
}

int MemorySdCardView::Progress() const {
    std::lock_guard lock(m_mutex);
    return m_progress;
}

int MemorySdCardView::ImportsStarted() const {
    std::lock_guard lock(m_mutex);
    return m_importsStarted;
}

int MemorySdCardView::ImportsFinished() const {
    std::lock_guard lock(m_mutex);
    return m_importsFinished;
}

int MemorySdCardView::LastImportPercent() const {
    std::lock_guard lock(m_mutex);
    return m_importPercent;
}

std::shared_ptr<const LogTable> MemorySdCardView::Table() const {
    std::lock_guard lock(m_mutex);
    return m_table;
}

}  // namespace orvane
