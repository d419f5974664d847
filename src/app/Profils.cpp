#include "app/Profils.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/FichiersTexte.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace vyk {

namespace {

const QString UTILISATEUR = QStringLiteral(".user");
const QString MOT_DE_PASSE = QStringLiteral(".pwd");

// Text of the file in the 8-bit code page of the suite when it fits, UTF-8 otherwise (the
// reader takes both).
QByteArray encoder(const QString &texte)
{
    QStringEncoder cp1252("windows-1252");
    if (cp1252.isValid()) {
        QByteArray octets = cp1252(texte);
        if (!cp1252.hasError()) return octets;
    } else if (const QByteArray latin1 = texte.toLatin1(); QString::fromLatin1(latin1) == texte) {
        return latin1;
    }
    return texte.toUtf8();
}

} // namespace

QVector<ProfilConnexion> lireProfils(const QString &texte)
{
    QVector<ProfilConnexion> profils;
    const QStringList lignes = texte.split(u'\n');
    for (QString ligne : lignes) {
        if (ligne.endsWith(u'\r')) ligne.chop(1);
        if (ligne.trimmed().isEmpty() || ligne.trimmed().startsWith(u'#')) continue;
        const qsizetype egal = ligne.indexOf(u'=');
        if (egal < 0) continue;
        const QString cle = ligne.left(egal).trimmed();
        const QString valeur = ligne.mid(egal + 1).trimmed();
        // User and password lines belong to the profile line read last, whatever their name.
        if (cle.contains(UTILISATEUR)) {
            if (!profils.isEmpty()) profils.last().utilisateur = valeur;
        } else if (cle.contains(MOT_DE_PASSE)) {
            if (!profils.isEmpty()) profils.last().motDePasse = debrouillerMotDePasse(valeur);
        } else {
            ProfilConnexion p;
            p.nom = cle;
            const qsizetype arobase = valeur.indexOf(u'@');
            p.type = arobase < 0 ? valeur : valeur.left(arobase);
            const QString cible = arobase < 0 ? QString() : valeur.mid(arobase + 1);
            // A desktop file is a path, whatever separators it holds.
            const qsizetype barre = cible.indexOf(u'/');
            if (barre < 0 || p.type.compare(ACCESS, Qt::CaseInsensitive) == 0) {
                p.cible = cible;
            } else {
                p.cible = cible.left(barre);
                p.base = cible.mid(barre + 1);
            }
            profils.append(p);
        }
    }
    return profils;
}

QVector<ProfilConnexion> lireFichierBases(const QString &chemin)
{
    if (chemin.trimmed().isEmpty()) return {};
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return lireProfils(decoderTexte(f.readAll()));
}

QByteArray brouiller(const QByteArray &octets)
{
    static constexpr char CLE[] = "QoMertyLavun";
    static constexpr int TAILLE_CLE = 12;
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    int j = 0;
    for (int i = 0; i < 256; ++i) {
        j = (j + s[i] + static_cast<unsigned char>(CLE[i % TAILLE_CLE])) % 256;
        std::swap(s[i], s[j]);
    }
    QByteArray sortie(octets.size(), Qt::Uninitialized);
    int i = 0;
    j = 0;
    for (qsizetype n = 0; n < octets.size(); ++n) {
        i = (i + 1) % 256;
        j = (j + s[i]) % 256;
        std::swap(s[i], s[j]);
        const unsigned char k = s[(s[i] + s[j]) % 256];
        const auto c = static_cast<unsigned char>(octets[n]);
        // A character equal to its key byte is kept, so that no NUL is produced.
        sortie[n] = static_cast<char>(k == c ? c : c ^ k);
    }
    return sortie;
}

QString brouillerMotDePasse(const QString &motDePasse)
{
    return QString::fromLatin1(brouiller(encoder(motDePasse)).toHex().toUpper());
}

QString debrouillerMotDePasse(const QString &hex)
{
    QString t = hex.trimmed();
    t.remove(u'\r');
    t.remove(u'\n');
    QByteArray octets;
    octets.reserve(t.size() / 2 + 1);
    for (qsizetype i = 0; i < t.size(); i += 2) {
        bool ok = false;
        const int octet = t.mid(i, 2).toInt(&ok, 16);
        if (!ok) return {};
        octets.append(static_cast<char>(octet));
    }
    return decoderTexte(brouiller(octets));
}

QString codeTypeProfil(const QString &mot)
{
    const QString code = mot.trimmed().toUpper();
    return code == QLatin1String("POSTGRES") ? POSTGRESQL : code;
}

ChoixProfil resoudreProfil(const ProfilConnexion &profil)
{
    ChoixProfil c;
    c.type = codeTypeProfil(profil.type);
    if (c.type == ACCESS) {
        c.bureau = true;
        c.fichier = profil.cible;
        return c;
    }
    const qsizetype deuxPoints = profil.cible.indexOf(u':');
    c.serveur = deuxPoints < 0 ? profil.cible : profil.cible.left(deuxPoints);
    c.port = deuxPoints < 0 ? QString() : profil.cible.mid(deuxPoints + 1);
    c.base = profil.base;
    c.utilisateur = profil.utilisateur;
    c.motDePasse = profil.motDePasse;
    return c;
}

const ProfilConnexion *trouverProfil(const QVector<ProfilConnexion> &profils, const QString &nom)
{
    for (const ProfilConnexion &p : profils)
        if (p.nom == nom) return &p;
    return nullptr;
}

bool profilDesReglages(const QString &nom, ChoixProfil &choix, QString *erreur)
{
    const QString chemin = lireRegistre(reglage::FichierProfils, {}, true);
    if (chemin.isEmpty()) {
        if (erreur) *erreur = QStringLiteral("Aucun fichier databases.properties n'est paramétré.");
        return false;
    }
    const QVector<ProfilConnexion> profils = lireFichierBases(chemin);
    const ProfilConnexion *profil = trouverProfil(profils, nom);
    if (!profil) {
        if (erreur)
            *erreur =
                QStringLiteral(
                    "Impossible de retrouver le paramétrage de cette base. Merci de vérifier le "
                    "fichier databases.properties (%1).")
                    .arg(chemin);
        return false;
    }
    choix = resoudreProfil(*profil);
    return true;
}

QVector<LigneProfil> lignesProfils(const QVector<ProfilConnexion> &profils)
{
    QVector<LigneProfil> lignes;
    lignes.reserve(profils.size());
    for (const ProfilConnexion &p : profils) {
        const ChoixProfil c = resoudreProfil(p);
        if (c.bureau)
            lignes.append({p.nom, c.type, c.fichier, {}, {}, {}, {}});
        else
            lignes.append({p.nom, c.type, c.serveur, c.port, c.base, c.utilisateur, c.motDePasse});
    }
    return lignes;
}

QString erreurLigneProfil(const LigneProfil &l)
{
    const QString nom = l.nom.trimmed();
    if (nom.contains(u'=') || nom.contains(UTILISATEUR) || nom.contains(MOT_DE_PASSE) ||
        nom.startsWith(u'#'))
        return QStringLiteral("Le nom « %1 » ne peut contenir ni « = », ni « .user », ni « .pwd », "
                              "ni commencer par « # ».")
            .arg(nom);
    const QString type = codeTypeProfil(l.type);
    if (type != ACCESS &&
        (l.serveur.contains(u'/') || l.serveur.contains(u':') || l.port.contains(u'/')))
        return QStringLiteral("Le serveur de la base « %1 » ne peut contenir ni « / » ni « : » "
                              "(le port a sa propre colonne).")
            .arg(nom);
    for (const QString &champ : {l.nom, l.type, l.serveur, l.port, l.base, l.utilisateur})
        if (champ.contains(u'\n') || champ.contains(u'\r'))
            return QStringLiteral("La base « %1 » contient un retour à la ligne.").arg(nom);
    return {};
}

QString texteFichierBases(const QVector<LigneProfil> &lignes)
{
    QString texte;
    for (const LigneProfil &l : lignes) {
        const QString nom = l.nom.trimmed();
        const QString type = codeTypeProfil(l.type);
        const QString serveur = l.serveur.trimmed();
        if (nom.isEmpty() || type.isEmpty() || serveur.isEmpty()) continue;
        if (type == ACCESS) {
            texte += nom + QStringLiteral("=access@") + serveur + QStringLiteral("\r\n");
            continue;
        }
        const QString mot = type == POSTGRESQL ? QStringLiteral("postgres") : type.toLower();
        const QString port = l.port.trimmed();
        texte += nom + u'=' + mot + u'@' + serveur + (port.isEmpty() ? QString() : u':' + port) +
                 u'/' + l.base.trimmed() + QStringLiteral("\r\n");
        texte += nom + UTILISATEUR + u'=' + l.utilisateur.trimmed() + QStringLiteral("\r\n");
        texte +=
            nom + MOT_DE_PASSE + u'=' + brouillerMotDePasse(l.motDePasse) + QStringLiteral("\r\n");
    }
    return texte;
}

bool ecrireFichierBases(const QString &chemin, const QVector<LigneProfil> &lignes)
{
    if (chemin.trimmed().isEmpty()) return false;
    QSaveFile f(chemin);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray octets = encoder(texteFichierBases(lignes));
    if (f.write(octets) != octets.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace vyk
