#include "demandes/Messagerie.h"

#include <QProcess>

namespace vyk {

QStringList MessagerieBureau::arguments(const QString &adresse, const QString &sujet,
                                        const QString &fichier)
{
    return {QStringLiteral("--utf8"),
            QStringLiteral("--subject"),
            sujet,
            QStringLiteral("--attach"),
            fichier,
            adresse.trimmed()};
}

bool MessagerieBureau::composer(const QString &adresse, const QString &sujet,
                                const QString &fichier)
{
    // An address read as an option would be refused by the program, or worse, obeyed.
    if (adresse.trimmed().isEmpty() || adresse.trimmed().startsWith(u'-')) return false;
    return QProcess::startDetached(m_programme, arguments(adresse, sujet, fichier));
}

} // namespace vyk
