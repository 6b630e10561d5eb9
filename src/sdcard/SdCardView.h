#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>

namespace orvane {

class LogTable;

// The parts of the SD-card window that are more than single controls: the
// file list (name and size columns), the progress bar and the
// import's progress. Everything else goes through ControlWindow.
//
// Every operation may be called from any thread and returns at once: an
// implementation over widgets posts it to the GUI thread, in order with the
// window's ControlWindow calls, so the receive thread never waits for the
// GUI thread (it calls some of these with TransferLock held).
class SdCardView {
public:
    virtual ~SdCardView() = default;

    // Replaces the rows of the file list; the size column starts empty.
    virtual void SetFileRows(const QStringList& names) = 0;
    virtual void SetFileSize(int row, const QString& sizeText) = 0;
    virtual void RemoveFileRow(int row) = 0;
    // Highlights a row of the file list as the selected one (-1: none).
    virtual void SelectFileRow(int row) = 0;

    // Progress bar: range 0..maximum, position.
    virtual void SetProgressRange(int maximum) = 0;
    virtual void SetProgress(int value) = 0;

    // The import of a finished download: started (the imported table empties), its
    // progress in percent, finished with the imported table (null when the
    // file could not be read).
    virtual void ImportStarted() = 0;
    virtual void ImportProgress(int percent) = 0;
    virtual void ImportFinished(std::shared_ptr<const LogTable> table) = 0;
};

// An in-memory view for tests; thread-safe.
class MemorySdCardView : public SdCardView {
public:
    void SetFileRows(const QStringList& names) override;
    void SetFileSize(int row, const QString& sizeText) override;
    void RemoveFileRow(int row) override;
    void SelectFileRow(int row) override;
    void SetProgressRange(int maximum) override;
    void SetProgress(int value) override;
    void ImportStarted() override;
    void ImportProgress(int percent) override;
    void ImportFinished(std::shared_ptr<const LogTable> table) override;

    QStringList Names() const;
    QStringList Sizes() const;
    int SelectedRow() const;
    int ProgressMaximum() const;
    int Progress() const;
    int ImportsStarted() const;
    int ImportsFinished() const;
    int LastImportPercent() const;
    std::shared_ptr<const LogTable> Table() const;

private:
    mutable std::mutex m_mutex;
    QStringList m_names;
    QStringList m_sizes;
    int m_selected = -1;
    int m_maximum = 100;
    int m_progress = 0;
    int m_importsStarted = 0;
    int m_importsFinished = 0;
    int m_importPercent = 0;
    std::shared_ptr<const LogTable> m_table;
};

}  // namespace orvane
