#include "db/FichiersTexte.h"

#include <QSaveFile>
#include <QStringDecoder>

namespace vyk {

QString decoderTexte(const QByteArray &octets)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString t = utf8(octets);
    if (!utf8.hasError()) return t;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid()) return cp1252(octets);
    return QString::fromLatin1(octets);
}

bool FichierTexte::finFichier() const
{
    return !m_fichier || m_fichier->atEnd();
}

QString FichierTexte::lireLigne()
{
    if (!m_fichier) return {};
    QByteArray ligne = m_fichier->readLine();
    if (ligne.endsWith('\n')) ligne.chop(1);
    return decoderTexte(ligne);
}

bool FichierTexte::ecrire(const QString &texte)
{
    if (!m_fichier) return false;
    const QByteArray u = texte.toUtf8();
    return m_fichier->write(u) == u.size();
}

void FichierTexte::fermer()
{
    if (m_fichier) {
        m_fichier->close();
        m_fichier.reset();
    }
}

CompteRendu ouvrirFichier(const QString &chemin, FichierTexte &fichier, bool ecriture, bool ajout)
{
    fichier.fermer();
    auto f = std::make_unique<QFile>(chemin);
    if (!ecriture && !f->exists()) return echec({});
    const QString refus = QStringLiteral("Impossible d'ouvrir le fichier ") + chemin +
                          QStringLiteral(".\nVérifiez qu'il ne soit pas déjà ouvert.");
    if (ecriture && !ajout && f->exists() && !f->remove()) return echec(refus);
    const QIODevice::OpenMode mode = !ecriture ? QIODevice::ReadOnly
                                     : ajout   ? (QIODevice::WriteOnly | QIODevice::Append)
                                               : QIODevice::WriteOnly;
    if (!f->open(mode)) return echec(refus);
    fichier.m_fichier = std::move(f);
    return reussite();
}

bool FluxTexte::SaveToFile(const QString &chemin) const
{
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(m_texte.toUtf8());
    return f.commit();
}

FluxTexte creerFluxTexte()
{
    return {};
}

} // namespace vyk
