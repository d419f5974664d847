#include "import/classeurs/Omnidia.h"

#include "db/Outils.h"
#include "import/LectureSandre.h"

namespace vyk {

namespace {

// The named columns of the table (first name present wins).
struct ColonnesOmnidia
{
    int station, date, ibd, ips, coursEau, nom, commentaire;
    explicit ColonnesOmnidia(const EnTete &e)
        : station(e.colonne({"CODE HYDRO"})), date(e.colonne({"DATE"})), ibd(e.colonne({"IBD"})),
          ips(e.colonne({"IPS"})), coursEau(e.colonne({"COURS D'EAU", "RIVIERE"})),
          nom(e.colonne({"STATION", "NOM STATION", "LIEU"})),
          commentaire(e.colonne({"COMMENTAIRE", "COMMENTAIRES"}))
    {
    }
    bool estNommee(int c) const
    {
        return c == station || c == date || c == ibd || c == ips || c == coursEau || c == nom ||
               c == commentaire;
    }
};

const QStringList REQUIS = {QStringLiteral("CODE HYDRO"), QStringLiteral("DATE")};

} // namespace

const QStringList &colonnesApercuOmnidia()
{
    static const QStringList c = {QStringLiteral("Identifiant"), QStringLiteral("Cours d'eau"),
                                  QStringLiteral("Station"),     QStringLiteral("Date"),
                                  QStringLiteral("Commentaire"), QStringLiteral("IBD"),
                                  QStringLiteral("IPS")};
    return c;
}

QStringList ligneApercu(const ReleveOmnidia &r)
{
    return {r.station, r.coursEau, r.nomStation, r.date, r.commentaire, r.ibd, r.ips};
}

bool lireTaxonOmnidia(const QString &cellule, QString &code, double &nombre)
{
    QString t = cellule;
    t.remove(u'"');
    const qsizetype etoile = t.indexOf(u'*');
    if (etoile <= 0) return false;
    code = t.left(etoile).trimmed();
    QString n = t.mid(etoile + 1).trimmed().replace(u',', u'.');
    if (n.startsWith(u'.')) n.prepend(u'0');
    const Nombre lu = enNombre(n);
    if (code.isEmpty() || !lu.estNombre()) return false;
    nombre = lu.valeur;
    return true;
}

QString lireOmnidia(const Classeur &classeur, const ChoixFeuille &choisir,
                    QVector<ReleveOmnidia> &releves, ElementsIgnores *ignores)
{
    const Feuille *feuille = nullptr;
    EnTete entete;
    for (int i = 1; i <= classeur.nombreFeuilles() && !feuille; ++i) {
        entete = chercherEnTete(*classeur.feuille(i), REQUIS);
        if (entete.ligne > 0) feuille = classeur.feuille(i);
    }
    if (!feuille && choisir) {
        QString erreur;
        const Feuille *choisie = feuilleDe(classeur, {}, choisir, erreur);
        if (choisie) entete = chercherEnTete(*choisie, REQUIS);
        if (entete.ligne > 0) feuille = choisie;
    }
    if (!feuille) return texteClasseurs::feuilleAbsente(classeur.chemin());
    const ColonnesOmnidia c(entete);
    for (int l = entete.ligne + 1; l <= feuille->derniereLigne(); ++l) {
        ReleveOmnidia r;
        r.ligne = l;
        r.station = texteUtile(*feuille, l, c.station);
        r.date = texteUtile(*feuille, l, c.date);
        r.ibd = texteUtile(*feuille, l, c.ibd);
        r.ips = texteUtile(*feuille, l, c.ips);
        r.coursEau = texteUtile(*feuille, l, c.coursEau);
        r.nomStation = texteUtile(*feuille, l, c.nom);
        r.commentaire = texteUtile(*feuille, l, c.commentaire);
        for (int col = 1; col <= feuille->derniereColonne(); ++col) {
            if (c.estNommee(col)) continue;
            const QString t = feuille->texte(l, col).trimmed();
            if (t.contains(u'*'))
                r.flore << t;
            else if (!t.isEmpty() && ignores)
                ignores->ajouter(col < entete.noms.size() && !entete.noms.at(col).isEmpty()
                                     ? entete.noms.at(col)
                                     : QStringLiteral("colonne ") + QString::number(col));
        }
        if (r.station.isEmpty() && r.date.isEmpty() && r.flore.isEmpty()) continue;
        releves << r;
    }
    return {};
}

} // namespace vyk
