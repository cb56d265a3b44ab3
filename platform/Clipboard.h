#pragma once

#include <QString>

namespace wordloom {

// A pane's text as it goes to the clipboard or out by drag: terminals and
// editors on this desktop expect LF, so each CR LF becomes LF (a lone CR stays).
QString withLineFeeds(const QString &paneText);

// The system clipboard as the window uses it: plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's plain text; empty when it holds no text (say, only a picture).
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};

// The platform's own clipboard.
class SystemClipboard final : public Clipboard {
public:
    QString text() const override;
    void setText(const QString &text) override;
};

} // namespace wordloom
