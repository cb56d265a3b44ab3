#include "PlainLayoutWidth.h"

#include <QPlainTextDocumentLayout>

namespace wordloom {

namespace {
// The layout's width members are private (its edit is a friend). An explicit
// instantiation may name private members, and the friend functions it defines
// hand them on; the members have had these signatures since the class began.
using SetWidth = void (QPlainTextDocumentLayout::*)(qreal);
using GetWidth = qreal (QPlainTextDocumentLayout::*)() const;

template <typename Tag>
struct Member {
    static typename Tag::Type pointer;
};
template <typename Tag>
typename Tag::Type Member<Tag>::pointer;

template <typename Tag, typename Tag::Type M>
struct Grab {
    Grab() { Member<Tag>::pointer = M; }
    static Grab instance;
};
template <typename Tag, typename Tag::Type M>
Grab<Tag, M> Grab<Tag, M>::instance;

struct SetWidthTag {
    using Type = SetWidth;
};
struct GetWidthTag {
    using Type = GetWidth;
};
template struct Grab<SetWidthTag, &QPlainTextDocumentLayout::setTextWidth>;
template struct Grab<GetWidthTag, &QPlainTextDocumentLayout::textWidth>;
} // namespace

void setPlainLayoutWidth(QPlainTextDocumentLayout &layout, qreal width)
{
    (layout.*Member<SetWidthTag>::pointer)(width);
}

qreal plainLayoutWidth(const QPlainTextDocumentLayout &layout)
{
    return (layout.*Member<GetWidthTag>::pointer)();
}

} // namespace wordloom
