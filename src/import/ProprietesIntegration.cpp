#include "import/ProprietesIntegration.h"

#include "db/BaseDonnees.h"
#include "db/FichiersTexte.h"
#include "db/InstructionPreparee.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace vyk {

namespace {

// The value after "#KEY=" when the line starts with it (case ignored).
bool valeurCle(const QString &ligne, QLatin1String cle, QString &valeur)
{
    if (!ligne.startsWith(cle, Qt::CaseInsensitive)) return false;
    valeur = ligne.mid(cle.size()).trimmed();
    return true;
}

void lireSeuil(const QString &valeur, ProprietesIntegration &p)
{
    for (const QString &brut : valeur.split(u';')) {
        const QString partie = brut.trimmed();
        if (partie == u"<")
            p.invalideSiInferieurSeuil1 = true;
        else if (partie == u">")
            p.invalideSiSuperieurMax = true;
        else if (!partie.isEmpty())
            p.typeSeuil = partie;
    }
}

QStringList valeursSeparees(const QString &valeur)
{
    QStringList valeurs;
    for (const QString &v : valeur.split(u';'))
        valeurs.append(v.trimmed());
    return valeurs;
}

// A file of the folder matching one of the masks ("*.csv"), without regard to case.
bool correspondMasque(const QString &nom, const QStringList &masques)
{
    for (const QString &masque : masques) {
        const QRegularExpression motif(QRegularExpression::wildcardToRegularExpression(masque),
                                       QRegularExpression::CaseInsensitiveOption);
        if (motif.match(nom).hasMatch()) return true;
    }
    return false;
}

QString masqueExtension(const QString &extension)
{
    QString e = extension.trimmed();
    if (e.isEmpty() || e == u"*" || e == u"*.*") return QStringLiteral("*");
    if (e.startsWith(u"*.")) return e;
    if (e.startsWith(u'.')) return u'*' + e;
    return QStringLiteral("*.") + e;
}

} // namespace

ProprietesIntegration lireProprietesIntegration(const QString &texte)
{
    ProprietesIntegration p;
    const QStringList lignes = texte.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (int i = 0; i < lignes.size(); ++i) {
        QString ligne = lignes.at(i).trimmed();
        if (i == 0 && ligne.startsWith(QChar(0xFEFF))) ligne = ligne.mid(1).trimmed();
        if (ligne.isEmpty()) continue;
        QString valeur;
        if (valeurCle(ligne, QLatin1String("#MODELE="), valeur))
            p.modele = valeur;
        else if (valeurCle(ligne, QLatin1String("#SEUIL="), valeur))
            lireSeuil(valeur, p);
        else if (valeurCle(ligne, QLatin1String("#CAMPAGNE="), valeur))
            p.campagne = valeur;
        else if (valeurCle(ligne, QLatin1String("#FTP="), valeur))
            p.transfert = valeursSeparees(valeur);
        else if (ligne.startsWith(u'#'))
            p.lignesIgnorees.append(QStringLiteral("ligne %1 : %2").arg(i + 1).arg(ligne));
        else if (ligne.contains(QLatin1String("*.")))
            p.masques.append(ligne);
        else {
            const qsizetype egal = ligne.indexOf(u'=');
            FichierIntegration f;
            f.fichier = (egal < 0 ? ligne : ligne.left(egal)).trimmed();
            f.station = egal < 0 ? QString() : ligne.mid(egal + 1).trimmed();
            // A name holding a folder separator could reach outside the folder: refused.
            if (f.fichier.isEmpty() || f.fichier.contains(u'/') || f.fichier.contains(u'\\') ||
                f.fichier == u"..")
                p.lignesIgnorees.append(QStringLiteral("ligne %1 : %2").arg(i + 1).arg(ligne));
            else
                p.fichiers.append(f);
        }
    }
    return p;
}

bool chargerProprietesIntegration(const QString &dossier, ProprietesIntegration &proprietes,
                                  QString *erreur)
{
    QFile f(QDir(dossier).filePath(FICHIER_PROPRIETES_INTEGRATION));
    if (!f.exists()) return false;
    if (!f.open(QIODevice::ReadOnly)) {
        if (erreur) *erreur = QStringLiteral("Impossible de lire le fichier %1.").arg(f.fileName());
        return false;
    }
    proprietes = lireProprietesIntegration(decoderTexte(f.readAll()));
    return true;
}

QVector<FichierIntegration> listerFichiersIntegration(const QString &dossier,
                                                      const QString &extension,
                                                      const ProprietesIntegration *proprietes)
{
    QVector<FichierIntegration> liste;
    const QDir d(dossier);
    QStringList presents = d.entryList(QDir::Files, QDir::Name);
    presents.removeAll(FICHIER_PROPRIETES_INTEGRATION);
    if (proprietes) {
        QStringList dejaListes;
        for (const FichierIntegration &f : proprietes->fichiers) {
            if (dejaListes.contains(f.fichier, Qt::CaseInsensitive)) continue;
            liste.append(f);
            dejaListes.append(f.fichier);
        }
        for (const QString &nom : presents) {
            if (!dejaListes.contains(nom, Qt::CaseInsensitive) &&
                correspondMasque(nom, proprietes->masques))
                liste.append({nom, {}, {}});
        }
        return liste;
    }
    const QStringList masque{masqueExtension(extension)};
    for (const QString &nom : presents) {
        if (correspondMasque(nom, masque)) liste.append({nom, {}, {}});
    }
    return liste;
}

void completerNomsStations(QVector<FichierIntegration> &fichiers)
{
    InstructionPreparee nom =
        bd().preparer(QStringLiteral("SELECT Nom FROM QUALITOMETRES WHERE CodeBSS = ?"));
    for (FichierIntegration &f : fichiers) {
        if (f.station.isEmpty()) continue;
        Tableau t;
        if (nom.extraire(t, {f.station}) && !t.estVide())
            f.nomStation = t.texte(0, QStringLiteral("Nom"));
    }
}

} // namespace vyk
