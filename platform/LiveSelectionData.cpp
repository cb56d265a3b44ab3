#include "LiveSelectionData.h"

namespace wordloom {

namespace {
const QString kPlainText = QStringLiteral("text/plain");
}

QStringList LiveSelectionData::formats() const
{
    return pane_ ? QStringList{kPlainText} : QStringList{};
}

bool LiveSelectionData::hasFormat(const QString &mimeType) const
{
    return pane_ && mimeType == kPlainText;
}

QVariant LiveSelectionData::retrieveData(const QString &mimeType, QMetaType) const
{
    if (!pane_ || mimeType != kPlainText)
        return {};
    return selection_();
}

} // namespace wordloom
