#pragma once

#include <QtGlobal>

class QPlainTextDocumentLayout;

namespace wordloom {

// The width at which a plain-text document layout wraps its lines. The
// plain-text edit sets it from its viewport on every resize and offers no
// fixed wrap width; the pane sets its own after each resize.
void setPlainLayoutWidth(QPlainTextDocumentLayout &layout, qreal width);
qreal plainLayoutWidth(const QPlainTextDocumentLayout &layout);

} // namespace wordloom
