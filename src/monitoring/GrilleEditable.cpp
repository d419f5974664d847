#include "monitoring/GrilleEditable.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "schema/Catalogue.h"

namespace vyk {

EntreesCodees entreesListeCodee(const QString &liste)
{
    if (liste.isEmpty()) return {};
    if (liste.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive))
        return entreesRequete(liste);
    return entreesListe(liste);
}

int DefinitionGrille::indexColonne(const QString &colonne) const
{
    for (int c = 0; c < colonnes.size(); ++c)
        if (colonnes[c].colonne.compare(colonne, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

void completerColonnes(QVector<ColonneGrille> &colonnes, const DefinitionTable *table, bool tailles)
{
    for (ColonneGrille &c : colonnes) {
        const DefinitionColonne *d = table ? table->colonne(c.colonne) : nullptr;
        c.numerique = c.numerique || (d && estNumerique(d->type));
        if (tailles && c.taille == 0 && d && d->type == TypeNeutre::Texte &&
            (c.nature == NatureChamp::Texte || c.nature == NatureChamp::Code))
            c.taille = d->taille;
    }
}

GrilleEditable::GrilleEditable(const DefinitionGrille &definition)
    : m_def(definition), m_colonnes(definition.colonnes)
{
    completerColonnes(m_colonnes, definitionTable(m_def.table), true);
}

QVariant GrilleEditable::valeurStockee(int colonne, const QString &texte) const
{
    return m_colonnes[colonne].valeur(texte);
}

QString GrilleEditable::texteCellule(int colonne, const QVariant &valeur) const
{
    return m_colonnes[colonne].texte(valeur);
}

EntreesCodees GrilleEditable::entrees(int colonne) const
{
    const ColonneGrille &c = m_colonnes[colonne];
    if (c.nature != NatureChamp::Code) return {};
    const EntreesCodees e = entreesListeCodee(c.liste);
    return e.isEmpty() ? c.entreesFixes : e;
}

bool GrilleEditable::estVide(const LigneGrille &ligne) const
{
    for (int c = 0; c < m_colonnes.size(); ++c)
        if (!m_colonnes[c].automatique && !m_colonnes[c].estVide(ligne.textes.value(c)))
            return false;
    return true;
}

QString GrilleEditable::condition(const QVector<QVariant> &parent, QVector<QVariant> &valeurs) const
{
    QStringList termes;
    for (int i = m_def.parentsEcritsSeulement; i < m_def.colonnesParent.size(); ++i) {
        termes << m_def.colonnesParent[i] + QStringLiteral("=?");
        valeurs << parent.value(i);
    }
    return QStringLiteral(" WHERE ") + termes.join(QStringLiteral(" AND "));
}

QVector<QHash<QString, QString>> libellesDesCodes(const QVector<ColonneGrille> &colonnes)
{
    QVector<QHash<QString, QString>> r(colonnes.size());
    QHash<QString, QHash<QString, QString>> parListe;
    for (int c = 0; c < colonnes.size(); ++c) {
        if (colonnes[c].nature != NatureChamp::Code || colonnes[c].liste.isEmpty()) continue;
        const QString liste = QString(colonnes[c].liste).remove(QStringLiteral(" WHERE Actif='1'"));
        if (!parListe.contains(liste)) {
            QHash<QString, QString> l;
            for (const EntreeCodee &e : entreesListeCodee(liste))
                l.insert(e.code, e.libelle);
            parListe.insert(liste, l);
        }
        r[c] = parListe.value(liste);
    }
    return r;
}

QString texteAvecLibelle(const ColonneGrille &colonne, const QVariant &valeur,
                         const QHash<QString, QString> &libelles)
{
    const QString texte = colonne.texte(valeur);
    const QString libelle = libelles.value(texte);
    return libelle.isEmpty() ? texte : texteEntree(libelle, texte);
}

LignesGrille GrilleEditable::charger(const QVector<QVariant> &parent) const
{
    QVector<QVariant> valeurs;
    const bool numeroCache =
        !m_def.colonneNumero.isEmpty() && m_def.indexColonne(m_def.colonneNumero) < 0;
    QString sql = QStringLiteral("SELECT ") +
                  (numeroCache ? m_def.colonneNumero + u',' : QString()) +
                  listeColonnes(ChampsDecrits(m_colonnes.begin(), m_colonnes.end())) +
                  QStringLiteral(" FROM ") + m_def.table + condition(parent, valeurs);
    if (!m_def.ordre.isEmpty()) sql += QStringLiteral(" ORDER BY ") + m_def.ordre;
    InstructionPreparee lecture = bd().preparer(sql);
    Tableau t;
    if (!lecture.extraire(t, valeurs)) return {};
    LignesGrille lignes;
    lignes.reserve(t.nbLignes());
    const QVector<QHash<QString, QString>> libelles =
        m_def.libellesCodes ? libellesDesCodes(m_colonnes) : QVector<QHash<QString, QString>>();
    for (int l = 0; l < t.nbLignes(); ++l) {
        LigneGrille ligne;
        if (!m_def.colonneNumero.isEmpty()) ligne.cle << t.valeur(l, m_def.colonneNumero);
        for (int c = 0; c < m_colonnes.size(); ++c) {
            const QVariant &v = t.valeur(l, m_colonnes[c].colonne);
            ligne.textes << texteAvecLibelle(m_colonnes[c], v, libelles.value(c));
            if (m_colonnes[c].cle) ligne.cle << v;
        }
        // A line whose key columns are all empty still has a stored row.
        if (ligne.cle.isEmpty()) ligne.cle << QVariant();
        lignes << ligne;
    }
    return lignes;
}

QVector<int> GrilleEditable::ordreVerification() const
{
    QVector<int> ordre;
    const bool datesDabord = m_def.verification == OrdreVerification::DatesDabord;
    for (int passe = datesDabord ? 0 : 1; passe < 2; ++passe)
        for (int c = 0; c < m_colonnes.size(); ++c)
            if (!datesDabord || m_colonnes[c].estChronologique() == (passe == 0)) ordre << c;
    return ordre;
}

QString GrilleEditable::messageDe(int colonne, DefautSaisie defaut, int n,
                                  const QString &texte) const
{
    if (m_def.message) return m_def.message(m_def, m_colonnes[colonne], defaut, n, texte);
    return messageSaisie(m_colonnes[colonne], defaut);
}

RefusGrille GrilleEditable::verifierLigne(const LigneGrille &ligne, int l) const
{
    if (estVide(ligne)) return {};
    const QVector<int> ordre = ordreVerification();
    const QStringList &textes = ligne.textes;
    if (m_def.verification == OrdreVerification::ObligatoiresDabord)
        for (int c : ordre)
            if (m_colonnes[c].defaut(textes.value(c)) == DefautSaisie::Absent)
                return {l, messageDe(c, DefautSaisie::Absent, l + 1, textes.value(c))};
    for (int c : ordre) {
        if (m_colonnes[c].automatique) continue;
        const DefautSaisie d = m_colonnes[c].defaut(textes.value(c));
        if (d != DefautSaisie::Aucun) return {l, messageDe(c, d, l + 1, textes.value(c))};
    }
    return {};
}

RefusGrille GrilleEditable::verifier(const LignesGrille &lignes) const
{
    for (int l = 0; l < lignes.size(); ++l)
        if (RefusGrille refus = verifierLigne(lignes[l], l); !refus.estVide()) return refus;
    return {};
}

QVector<QVariant> GrilleEditable::cleDe(const LigneGrille &ligne) const
{
    QVector<QVariant> cle;
    if (!m_def.colonneNumero.isEmpty()) cle << ligne.cle.value(0);
    for (int c = 0; c < m_colonnes.size(); ++c)
        if (m_colonnes[c].cle) cle << valeurStockee(c, ligne.textes.value(c));
    if (cle.isEmpty()) cle << QVariant();
    return cle;
}

// The number after the highest stored or kept one; position: the column among the lines'
// texts, -1 for the numbered key column.
double GrilleEditable::numeroSuivant(const QVector<QVariant> &parent, const QString &colonne,
                                     const LignesGrille &lignes, int position) const
{
    QVector<QVariant> valeurs;
    InstructionPreparee max = bd().preparer(QStringLiteral("SELECT max(") + colonne +
                                            QStringLiteral(") AS plusGrand FROM ") + m_def.table +
                                            condition(parent, valeurs));
    Tableau t;
    double prochain = m_def.premierNumero;
    if (max.extraire(t, valeurs) && !t.estVide()) {
        const QVariant &plusGrand = t.valeur(0, QStringLiteral("plusGrand"));
        if (!plusGrand.isNull()) prochain = plusGrand.toDouble() + 1;
    }
    for (const LigneGrille &l : lignes) {
        const QVariant v =
            position < 0 ? l.cle.value(0) : enNombre(l.textes.value(position), true).variant();
        if (!v.isNull() && v.toDouble() >= prochain) prochain = v.toDouble() + 1;
    }
    return prochain;
}

bool GrilleEditable::remplacer(const QVector<QVariant> &parent, LignesGrille &lignes,
                               QString &erreur) const
{
    const bool numerote = !m_def.colonneNumero.isEmpty();
    double numero = !numerote           ? 0
                    : m_def.renumeroter ? m_def.premierNumero
                                        : numeroSuivant(parent, m_def.colonneNumero, lignes, -1);
    // A number column among the columns takes the line's number.
    const int numeroVisible = numerote ? m_def.indexColonne(m_def.colonneNumero) : -1;
    QVector<double> automatiques(m_colonnes.size());
    for (int c = 0; c < m_colonnes.size(); ++c)
        if (m_colonnes[c].automatique)
            automatiques[c] = numeroSuivant(parent, m_colonnes[c].colonne, lignes, c);

    QVector<QVariant> valeursParent;
    if (!bd().preparer(QStringLiteral("DELETE FROM ") + m_def.table +
                       condition(parent, valeursParent))
             .executer(valeursParent)) {
        erreur = bd().derniereErreur();
        return false;
    }
    QStringList avant = m_def.colonnesParent;
    if (numerote && numeroVisible < 0) avant << m_def.colonneNumero;
    InstructionPreparee ajout = bd().preparer(
        insertionLiee(m_def.table, ChampsDecrits(m_colonnes.begin(), m_colonnes.end()), avant));
    LignesGrille ecrites;
    for (LigneGrille ligne : std::as_const(lignes)) {
        if (estVide(ligne)) continue;
        while (ligne.textes.size() < m_colonnes.size())
            ligne.textes << QString();
        for (int c = 0; c < m_colonnes.size(); ++c)
            if (m_colonnes[c].automatique && !enNombre(ligne.textes[c], true).estNombre())
                ligne.textes[c] = QString::number(qint64(automatiques[c]++));
        if (numerote && (m_def.renumeroter || ligne.cle.value(0).isNull())) ligne.cle = {numero++};
        QVector<QVariant> valeurs = parent;
        if (numerote && numeroVisible < 0) valeurs << ligne.cle.value(0);
        for (int c = 0; c < m_colonnes.size(); ++c)
            valeurs << (c == numeroVisible ? ligne.cle.value(0)
                                           : valeurStockee(c, ligne.textes[c]));
        if (numeroVisible >= 0)
            ligne.textes[numeroVisible] = m_colonnes[numeroVisible].texte(ligne.cle.value(0));
        if (!ajout.executer(valeurs)) {
            erreur = ajout.erreur().isEmpty() ? bd().derniereErreur() : ajout.erreur();
            return false;
        }
        ligne.cle = cleDe(ligne);
        ecrites << ligne;
    }
    lignes = ecrites;
    return true;
}

bool GrilleEditable::supprimerLigne(const QVector<QVariant> &parent, const LigneGrille &ligne,
                                    QString &erreur) const
{
    if (!ligne.estEnregistree() || (!m_def.colonneNumero.isEmpty() && ligne.cle[0].isNull()))
        return true;
    QVector<QVariant> valeurs;
    QString sql = QStringLiteral("DELETE FROM ") + m_def.table + condition(parent, valeurs);
    QStringList colonnes;
    if (!m_def.colonneNumero.isEmpty()) colonnes << m_def.colonneNumero;
    for (const ColonneGrille &c : m_colonnes)
        if (c.cle) colonnes << c.colonne;
    for (int k = 0; k < colonnes.size(); ++k) {
        const QVariant v = ligne.cle.value(k);
        sql += QStringLiteral(" AND ") + colonnes[k] +
               (v.isNull() ? QStringLiteral(" is null") : QStringLiteral(" = ?"));
        if (!v.isNull()) valeurs << v;
    }
    InstructionPreparee suppression = bd().preparer(sql);
    if (!suppression.executer(valeurs)) {
        erreur = suppression.erreur().isEmpty() ? bd().derniereErreur() : suppression.erreur();
        return false;
    }
    return true;
}

} // namespace vyk
