#include "AppIcon.h"

namespace wordloom {

QIcon applicationIcon()
{
    return QIcon(QStringLiteral(":/wordloom/icons/wordloom.png"));
}

} // namespace wordloom
