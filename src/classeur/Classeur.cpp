#include "classeur/Classeur.h"

#include "classeur/Formats.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace vyk {

namespace {

const Cellule VIDE;

QString texteNombre(double v)
{
    if (!std::isfinite(v)) return QString::number(v);
    // Fifteen significant digits, as a spreadsheet keeps them; no exponent for ordinary sizes.
    QString t = QString::number(v, 'g', 15);
    if (t.contains(u'e') && std::fabs(v) >= 1e-5 && std::fabs(v) < 1e15)
        t = QString::number(v, 'f', 15 - int(std::floor(std::log10(std::fabs(v)))) - 1);
    if (t.contains(u'.') && !t.contains(u'e')) {
        while (t.endsWith(u'0'))
            t.chop(1);
        if (t.endsWith(u'.')) t.chop(1);
    }
    return t;
}

} // namespace

QString texteCellule(const QVariant &valeur)
{
    switch (valeur.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return texteNombre(valeur.toDouble());
    case QMetaType::Bool:
        return valeur.toBool() ? QStringLiteral("VRAI") : QStringLiteral("FAUX");
    case QMetaType::QDate:
        return valeur.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return valeur.toDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    case QMetaType::QTime:
        return valeur.toTime().toString(QStringLiteral("hh:mm:ss"));
    default:
        return valeur.toString();
    }
}

FormatClasseur formatEcriture(const QString &chemin)
{
    return chemin.endsWith(QLatin1String(".ods"), Qt::CaseInsensitive) ? FormatClasseur::Ods
                                                                       : FormatClasseur::Xlsx;
}

const Cellule &Feuille::cellule(int ligne, int colonne) const
{
    if (ligne < 1 || ligne > m_lignes.size()) return VIDE;
    const QVector<Cellule> &l = m_lignes[ligne - 1];
    if (colonne < 1 || colonne > l.size()) return VIDE;
    return l[colonne - 1];
}

QVector<QStringList> Feuille::plage(int ligne1, int colonne1, int ligne2, int colonne2) const
{
    QVector<QStringList> r;
    for (int l = ligne1; l <= ligne2; ++l) {
        QStringList textes;
        for (int c = colonne1; c <= colonne2; ++c)
            textes << texte(l, c);
        r << textes;
    }
    return r;
}

void Feuille::ecrire(int ligne, int colonne, const QVariant &valeur)
{
    if (ligne < 1 || colonne < 1) return;
    if (valeur.isNull() || (valeur.typeId() == QMetaType::QString && valeur.toString().isEmpty())) {
        if (ligne <= m_lignes.size() && colonne <= m_lignes[ligne - 1].size())
            m_lignes[ligne - 1][colonne - 1] = Cellule();
        return;
    }
    if (ligne > m_lignes.size()) m_lignes.resize(ligne);
    QVector<Cellule> &l = m_lignes[ligne - 1];
    if (colonne > l.size()) {
        // A row read cell after cell grows by doubling, not by one cell at a time.
        if (colonne > l.capacity()) l.reserve(std::max<qsizetype>(colonne, 2 * l.capacity()));
        l.resize(colonne);
    }
    l[colonne - 1] = Cellule{valeur};
    m_colonnes = std::max(m_colonnes, colonne);
}

bool Classeur::refuser(const QString &detail)
{
    m_feuilles.clear();
    m_erreur = MESSAGE_CLASSEUR_ILLISIBLE;
    m_detail = detail;
    return false;
}

bool Classeur::ouvrir(const QString &chemin)
{
    fermer();
    m_chemin = chemin;
    m_format = formatFichierClasseur(chemin);
    QString detail;
    bool lu = false;
    switch (m_format) {
    case FormatClasseur::Xlsx:
        lu = classeur::lireXlsx(chemin, m_feuilles, detail);
        break;
    case FormatClasseur::Ods:
        lu = classeur::lireOds(chemin, m_feuilles, detail);
        break;
    case FormatClasseur::Xls:
        lu = classeur::lireXls(chemin, m_feuilles, detail);
        break;
    case FormatClasseur::Inconnu:
        detail = QFileInfo(chemin).isFile() ? QStringLiteral("format de classeur inconnu")
                                            : QStringLiteral("fichier introuvable");
        break;
    }
    if (!lu) return refuser(detail);
    // Trailing empty rows (a sheet that only repeated empty cells) are no rows.
    for (Feuille &f : m_feuilles) {
        while (!f.m_lignes.isEmpty() && f.m_lignes.last().isEmpty())
            f.m_lignes.removeLast();
    }
    return true;
}

void Classeur::fermer()
{
    m_feuilles.clear();
    m_chemin.clear();
    m_erreur.clear();
    m_detail.clear();
    m_format = FormatClasseur::Inconnu;
}

QStringList Classeur::feuilles() const
{
    QStringList noms;
    for (const Feuille &f : m_feuilles)
        noms << f.nom();
    return noms;
}

const Feuille *Classeur::feuille(const QString &nom) const
{
    for (const Feuille &f : m_feuilles)
        if (f.nom() == nom) return &f;
    for (const Feuille &f : m_feuilles)
        if (f.nom().compare(nom, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

Feuille *Classeur::feuille(const QString &nom)
{
    return const_cast<Feuille *>(std::as_const(*this).feuille(nom));
}

const Feuille *Classeur::feuille(int position) const
{
    if (position < 1 || position > m_feuilles.size()) return nullptr;
    return &m_feuilles[position - 1];
}

Feuille *Classeur::feuille(int position)
{
    return const_cast<Feuille *>(std::as_const(*this).feuille(position));
}

Feuille *Classeur::ajouterFeuille(const QString &nom)
{
    if (nom.isEmpty() || feuille(nom)) return nullptr;
    m_feuilles.append(Feuille(nom));
    return &m_feuilles.last();
}

bool cheminClasseur(const QString &chemin)
{
    return chemin.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ||
           chemin.endsWith(QLatin1String(".ods"), Qt::CaseInsensitive);
}

bool exporterClasseur(const QString &chemin, const QString &feuille, const QStringList &titres,
                      const QVector<QStringList> &lignes, QString *erreur)
{
    Classeur c;
    Feuille *f = c.ajouterFeuille(nomFeuilleValide(feuille) ? feuille : QStringLiteral("Feuil1"));
    f->reserver(int(lignes.size()) + 1);
    for (int k = 0; k < titres.size(); ++k)
        f->ecrire(1, k + 1, titres[k]);
    for (int l = 0; l < lignes.size(); ++l)
        for (int k = 0; k < lignes[l].size(); ++k)
            f->ecrire(l + 2, k + 1, lignes[l][k]);
    if (c.enregistrer(chemin)) return true;
    if (erreur) *erreur = c.erreur() + QStringLiteral(" (") + c.detail() + u')';
    return false;
}

bool Classeur::echecEnregistrement(const QString &chemin, const QString &detail)
{
    m_erreur = QStringLiteral("Impossible d'enregistrer le fichier ") +
               QDir::toNativeSeparators(chemin) + u'.';
    m_detail = detail;
    return false;
}

bool nomFeuilleValide(const QString &nom)
{
    static const QString interdits = QStringLiteral("[]:*?/\\");
    if (nom.isEmpty() || nom.size() > 31 || nom.startsWith(u'\'') || nom.endsWith(u'\''))
        return false;
    for (const QChar c : nom)
        if (interdits.contains(c)) return false;
    return true;
}

bool Classeur::enregistrer(const QString &chemin)
{
    m_erreur.clear();
    m_detail.clear();
    const QFileInfo info(chemin);
    for (const Feuille &f : std::as_const(m_feuilles)) {
        if (!nomFeuilleValide(f.nom())) {
            return echecEnregistrement(chemin,
                                       QStringLiteral("nom de feuille refusé : ") + f.nom());
        }
    }
    QString temporaire;
    {
        // A name of our own beside the target, so that the final rename stays on one disk.
        QTemporaryFile t(info.absoluteDir().filePath(QStringLiteral(".") + info.fileName() +
                                                     QStringLiteral(".XXXXXX")));
        t.setAutoRemove(false);
        if (!t.open()) {
            return echecEnregistrement(chemin, t.errorString());
        }
        temporaire = t.fileName();
    }
    QString detail;
    const bool ecrit = formatEcriture(chemin) == FormatClasseur::Ods
                           ? classeur::ecrireOds(temporaire, m_feuilles, detail)
                           : classeur::ecrireXlsx(temporaire, m_feuilles, detail);
    std::error_code ec;
    if (ecrit) {
        // The temporary file is private; the workbook is as readable as the one it replaces.
        QFile::setPermissions(temporaire, info.exists() ? QFile::permissions(chemin)
                                                        : QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ReadGroup | QFile::ReadOther);
        std::filesystem::rename(std::filesystem::path(temporaire.toStdU16String()),
                                std::filesystem::path(info.absoluteFilePath().toStdU16String()),
                                ec);
    }
    if (!ecrit || ec) {
        QFile::remove(temporaire);
        return echecEnregistrement(chemin, ecrit ? QString::fromStdString(ec.message()) : detail);
    }
    m_chemin = chemin;
    return true;
}

} // namespace vyk
