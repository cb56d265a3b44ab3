#pragma once

#include <QMimeData>
#include <QPointer>
#include <QPlainTextEdit>

#include <functional>

namespace wordloom {

// The X11 primary selection of a pane: served as the pane's selection at the
// moment another program asks for it, as X11 programs do, instead of copied
// out whole at every change of the selection (Ctrl+A on a 31 MB text cost a
// fifth of a second before the window answered again).
class LiveSelectionData final : public QMimeData {
public:
    LiveSelectionData(const QPlainTextEdit *pane, std::function<QString()> selection)
        : pane_(pane), selection_(std::move(selection))
    {
    }

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    QPointer<const QPlainTextEdit> pane_;
    std::function<QString()> selection_;
};

} // namespace wordloom
