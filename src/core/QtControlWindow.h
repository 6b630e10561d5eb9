#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "ControlLayout.h"
#include "ControlWindow.h"
#include "GuiCall.h"

class QStatusBar;
class QLabel;

namespace orvane {

// The control-id interface over real widgets. A window registers each of
// its controls under its dialog id. From a worker thread the operations that
// answer nothing (the setters, SetFocus, SetTitle, MessageBox) are posted to
// the GUI thread and return at once; the getters and Confirm run there while
// the caller waits (see GuiCall). A worker's get sees its earlier sets.
// Message boxes posted by workers come up one after the other, in the order
// raised. After Shutdown() posted calls are dropped and calls from workers
// return at once with empty results.
//
// An operation on an id that was never registered (or a status-bar part
// other than 0 and 1) throws UnknownControl in the calling thread.
class QtControlWindow : public ControlWindow {
public:
    explicit QtControlWindow(QWidget* window);
    ~QtControlWindow() override { Shutdown(); }
    QtControlWindow(const QtControlWindow&) = delete;
    QtControlWindow& operator=(const QtControlWindow&) = delete;

    // GUI thread only. With a layout table every Register() must match an
    // entry of the table in id and kind, and VerifyLayout() (after the last
    // Register) that no entry was left out; both throw otherwise.
    void SetLayout(ControlLayout layout) { m_layout = layout; }
    void VerifyLayout() const;
    void Register(int id, QWidget* control);
    QWidget* Control(int id) const;
    void SetStatusParts(QLabel* part0, QLabel* part1);
    void Shutdown();
    GuiCall& Gui() { return m_gui; }

    void SetText(int id, const QString& text) override;
    QString Text(int id) const override;
    void SetItems(int id, const QStringList& items) override;
    int ItemCount(int id) const override;
    QString ItemText(int id, int index) const override;
    bool SelectText(int id, const QString& text) override;
    void SelectIndex(int id, int index) override;
    int SelectedIndex(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void SetEnabled(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void SetVisible(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void SetToolTip(int id, const QString& text) override;
    QString ToolTip(int id) const override;
    void SetDateTime(int id, const QDateTime& value) override;
    QDateTime DateTime(int id) const override;
    void SetStatusText(int part, const QString& text) override;
    QString StatusText(int part) const override;
    void SetFocus(int id) override;
    void SetTitle(const QString& title) override;
    QString Title() const override;
    void MessageBox(const QString& text) override;
    bool Confirm(const QString& text) override;

private:
    // Message boxes raised by workers; GUI thread only. Shared with the
    // posted calls, which may run after this object is gone.
    struct PostedBoxes {
        QStringList waiting;
        bool showing = false;
        bool open = true;
    };

    QWidget* Require(int id) const;
    static void ShowInTurn(const std::shared_ptr<PostedBoxes>& boxes,
                           const QPointer<QWidget>& window, const QString& text);

    // Waited: the answer of `f`, run on the GUI thread.
    template <class F>
    auto OnGui(F&& f) const {
        return const_cast<GuiCall&>(m_gui).Call(std::forward<F>(f));
    }
    // Posted: `f(control)` on the GUI thread, for an id Require() accepted;
    // `f` runs only while the control exists.
    template <class F>
    void Apply(int id, F&& f) {
        m_gui.Post([this, id, f = std::forward<F>(f)] {
            if (QWidget* w = Control(id)) f(w);
        });
    }

    QPointer<QWidget> m_window;
    std::shared_ptr<PostedBoxes> m_boxes = std::make_shared<PostedBoxes>();
    ControlLayout m_layout;
    QHash<int, QPointer<QWidget>> m_controls;
    QPointer<QLabel> m_status[2];
    mutable GuiCall m_gui;
};

}  // namespace orvane
