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
    if (!m_attendre)
        return QProcess::startDetached(m_programme, arguments(adresse, sujet, fichier));
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(m_programme, arguments(adresse, sujet, fichier));
    // The program hands the mail to the mail client and returns at once.
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace vyk
