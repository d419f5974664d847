#include "ui/widgets/ChampsFormulaire.h"

#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Fiche.h"
#include "ui/widgets/Formulaire.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace vyk {

namespace {

// What a line shows while it is empty.
QString format(NatureChamp nature)
{
    switch (nature) {
    case NatureChamp::Date:
        return QStringLiteral("jj/mm/aaaa");
    case NatureChamp::DateHeure:
        return QStringLiteral("jj/mm/aaaa hh:mm");
    case NatureChamp::Heure:
        return QStringLiteral("hh:mm");
    case NatureChamp::Annee:
        return QStringLiteral("aaaa");
    default:
        return {};
    }
}

// Digits with one decimal comma or point, a sign and an exponent: what a stored number is shown
// as, and nothing a number could not become.
QLineEdit *nouvelleLigneNombre(QWidget *parent)
{
    QLineEdit *ligne = nouvelleLigneTexte(parent, 0);
    static const QRegularExpression nombre(QStringLiteral(R"([-+]?\d*([.,]\d*)?([eE][-+]?\d*)?)"));
    ligne->setValidator(new QRegularExpressionValidator(nombre, ligne));
    return ligne;
}

ComboCodee *nouvelleListe(QWidget *parent, const OptionsChamp &options)
{
    auto *choix = new ComboCodee(parent);
    if (options.largeur > 0) choix->setMinimumContentsLength(options.largeur);
    choix->definirEntrees(options.entrees,
                          options.sansVide ? ComboCodee::AucuneOption : ComboCodee::AvecVide);
    return choix;
}

void afficherCode(ComboCodee *choix, const QString &texte)
{
    const QString code = codeEntree(texte);
    if (choix->selectionnerCode(code)) return;
    if (code.isEmpty()) {
        choix->selectionnerCode(QString());
        return;
    }
    const QString libelle = libelleEntree(texte).trimmed();
    choix->ajouterEntree({code, libelle.isEmpty() ? code : libelle, 0});
    choix->selectionnerCode(code);
}

} // namespace

QWidget *nouveauChampSaisie(const ChampDecrit &champ, QWidget *parent, const OptionsChamp &options)
{
    switch (champ.nature) {
    case NatureChamp::Memo:
        return nouveauMemo(parent);
    case NatureChamp::Code:
        return nouvelleListe(parent, options);
    case NatureChamp::OuiNon:
        return new QCheckBox(parent);
    case NatureChamp::Nombre:
        return nouvelleLigneNombre(parent);
    case NatureChamp::Date:
    case NatureChamp::DateHeure: {
        QLineEdit *date = nouvelleLigneTexte(parent, 0, format(champ.nature));
        surveillerDate(date);
        return date;
    }
    case NatureChamp::Heure:
    case NatureChamp::Annee:
        return nouvelleLigneTexte(parent, 0, format(champ.nature));
    case NatureChamp::Texte:
        break;
    }
    return nouvelleLigneTexte(parent, champ.taille);
}

void afficherSaisie(QWidget *widget, const ChampDecrit &champ, const QString &texte)
{
    if (auto *choix = qobject_cast<ComboCodee *>(widget))
        afficherCode(choix, texte);
    else if (auto *coche = qobject_cast<QCheckBox *>(widget))
        coche->setChecked(champ.valeur(texte).toDouble() != 0);
    else
        afficherValeurChamp(widget,
                            champ.nature == NatureChamp::Nombre ? nombreAffiche(texte) : texte);
}

QWidget *ChampsFormulaire::ajouter(DispositionFormulaire &disposition, const ChampDecrit &champ,
                                   const OptionsChamp &options)
{
    QWidget *w = nouveauChampSaisie(champ, disposition.formulaire(), options);
    w->setObjectName(m_prefixe + champ.colonne);
    disposition.ajouter(champ.libelle, w, champ.nature == NatureChamp::Memo);
    m_descriptions.insert(champ.colonne, champ);
    m_champs.insert(champ.colonne, w);
    m_ordre << w;
    return w;
}

QString ChampsFormulaire::valeur(const QString &colonne) const
{
    return valeurChamp(m_champs.value(colonne));
}

void ChampsFormulaire::afficher(const QString &colonne, const QString &texte)
{
    if (QWidget *w = m_champs.value(colonne))
        afficherSaisie(w, m_descriptions.value(colonne), texte);
}

} // namespace vyk
