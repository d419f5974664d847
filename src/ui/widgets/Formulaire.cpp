#include "ui/widgets/Formulaire.h"

#include "referentials/ListesCodees.h"
#include "ui/widgets/ComboCodee.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>

namespace vyk {

QString valeurChamp(const QWidget *champ)
{
    if (auto *t = qobject_cast<const QLineEdit *>(champ)) return t->text();
    if (auto *p = qobject_cast<const QPlainTextEdit *>(champ)) return p->toPlainText();
    if (auto *b = qobject_cast<const ComboCodee *>(champ)) return b->codeSelectionne();
    if (auto *k = qobject_cast<const QCheckBox *>(champ))
        return k->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return {};
}

void afficherValeurChamp(QWidget *champ, const QString &valeur)
{
    if (auto *t = qobject_cast<QLineEdit *>(champ)) {
        t->setText(valeur);
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(champ)) {
        p->setPlainText(valeur);
    } else if (auto *b = qobject_cast<ComboCodee *>(champ)) {
        if (!b->selectionnerCode(codeEntree(valeur))) b->selectionnerCode(QString());
    } else if (auto *k = qobject_cast<QCheckBox *>(champ)) {
        k->setChecked(valeur == QLatin1String("1"));
    }
}

QPlainTextEdit *nouveauMemo(QWidget *parent)
{
    auto *t = new QPlainTextEdit(parent);
    t->setTabChangesFocus(true);
    t->setMaximumHeight(t->fontMetrics().height() * 4);
    return t;
}

QLineEdit *nouvelleLigneTexte(QWidget *parent, int taille, const QString &format)
{
    auto *t = new QLineEdit(parent);
    if (taille > 0) t->setMaxLength(taille);
    if (!format.isEmpty()) t->setPlaceholderText(format);
    return t;
}

QScrollArea *formulaireDefilant(QWidget *formulaire, QWidget *parent)
{
    auto *defilement = new QScrollArea(parent);
    defilement->setWidgetResizable(true);
    defilement->setFrameShape(QFrame::NoFrame);
    defilement->setWidget(formulaire);
    return defilement;
}

DispositionFormulaire::DispositionFormulaire(QWidget *formulaire)
    : m_grille(new QGridLayout(formulaire))
{
    m_grille->setColumnStretch(1, 1);
    m_grille->setColumnStretch(3, 1);
}

QLabel *DispositionFormulaire::ajouter(const QString &titre, QWidget *champ, bool large)
{
    auto *etiquette =
        new QLabel(titre.isEmpty() || m_uneColonne ? titre : titre + QStringLiteral(" :"),
                   m_grille->parentWidget());
    etiquette->setBuddy(champ);
    if (large && m_colonne != 0) {
        ++m_ligne;
        m_colonne = 0;
    }
    m_grille->addWidget(etiquette, m_ligne, m_colonne * 2, large ? Qt::AlignTop : Qt::Alignment());
    m_grille->addWidget(champ, m_ligne, m_colonne * 2 + 1, 1, large ? 3 : 1);
    if (large || m_colonne == 1 || m_uneColonne) {
        ++m_ligne;
        m_colonne = 0;
    } else {
        m_colonne = 1;
    }
    return etiquette;
}

void DispositionFormulaire::ajouterLigne(QWidget *bloc)
{
    if (m_colonne != 0) ++m_ligne;
    m_grille->addWidget(bloc, m_ligne++, 0, 1, 4);
    m_colonne = 0;
}

void DispositionFormulaire::terminer()
{
    m_grille->setRowStretch(m_ligne + 1, 1);
}

void DispositionFormulaire::partagerColonnes(int premiere, int seconde)
{
    m_grille->setColumnStretch(1, premiere);
    m_grille->setColumnStretch(3, seconde);
}

void DispositionFormulaire::surUneColonne()
{
    m_uneColonne = true;
    m_grille->setColumnStretch(3, 0);
}

QWidget *DispositionFormulaire::formulaire() const
{
    return m_grille->parentWidget();
}

void DispositionFormulaire::sansMarges()
{
    m_grille->setContentsMargins(0, 0, 0, 0);
}

} // namespace vyk
