#include "AppIcon.h"

namespace wordloom {

QIcon applicationIcon()
{
    // The design at 32 pixels, and renderings of its scalable drawing that
    // keep it sharp where a pixel of the design covers two or four.
    QIcon icon(QStringLiteral(":/wordloom/icons/wordloom.png"));
    icon.addFile(QStringLiteral(":/wordloom/icons/wordloom-64.png"));
    icon.addFile(QStringLiteral(":/wordloom/icons/wordloom-128.png"));
    return icon;
}

} // namespace wordloom
