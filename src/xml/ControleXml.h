#pragma once

// Well-formedness of a document we are about to write, checked on its bytes by a streaming
// parser that builds nothing (a few milliseconds for megabytes).

#include <QByteArrayView>
#include <QString>

namespace vyk {

// "" when the UTF-8 document is well-formed XML (namespaces included), otherwise the parser's
// first message followed by ", ligne N".
QString defautXmlOctets(QByteArrayView document);

} // namespace vyk
