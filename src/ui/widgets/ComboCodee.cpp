#include "ui/widgets/ComboCodee.h"

#include <QSignalBlocker>

namespace vyk {

namespace {
constexpr int ROLE_TEXTE = Qt::UserRole;
constexpr int ROLE_CODE = Qt::UserRole + 1;
constexpr int ROLE_LIBELLE = Qt::UserRole + 2;
} // namespace

ComboCodee::ComboCodee(QWidget *parent) : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit codeChange(codeSelectionne()); });
}

void ComboCodee::ajouter(const EntreeCodee &e, int largeur)
{
    QString affiche;
    QString texte;
    if (e.estTous()) {
        affiche = texte = TEXTE_TOUS;
    } else if (e.estVide()) {
        texte = texteEntreeVide();
    } else {
        texte = e.texte(largeur);
        affiche = QString(4 * e.niveau, u' ') + e.libelle;
        if (e.libelle != e.code)
            affiche += QStringLiteral(" [") + e.code + u']';
    }
    addItem(affiche);
    const int i = count() - 1;
    setItemData(i, texte, ROLE_TEXTE);
    setItemData(i, e.code, ROLE_CODE);
    setItemData(i, e.libelle, ROLE_LIBELLE);
}

void ComboCodee::definirEntrees(const EntreesCodees &entrees, Options options)
{
    {
        const QSignalBlocker silence(this);
        clear();
        if (options.testFlag(AvecTous))
            ajouter({CODE_TOUS, libelleEntree(TEXTE_TOUS), 0}, 0);
        if (options.testFlag(AvecVide))
            ajouter({}, 0);
        const int largeur = largeurEntrees(entrees);
        for (const EntreeCodee &e : entrees)
            ajouter(e, largeur);
        setCurrentIndex(count() > 0 ? 0 : -1);
    }
    emit codeChange(codeSelectionne());
}

void ComboCodee::remplirListe(const QString &champ, Options options, OrdreEntrees ordre)
{
    definirEntrees(entreesListe(champ, ordre), options);
}

void ComboCodee::remplirRequete(const QString &sql, Options options) { definirEntrees(entreesRequete(sql), options); }

void ComboCodee::remplirHierarchie(const QString &champ, Options options)
{
    definirEntrees(entreesHierarchiques(champ), options);
}

void ComboCodee::remplirTextes(const QStringList &textes, Options options)
{
    EntreesCodees entrees;
    entrees.reserve(textes.size());
    for (const QString &t : textes)
        entrees.append({t, t, 0});
    definirEntrees(entrees, options);
}

int ComboCodee::indexCode(const QString &code) const
{
    const QString c = code.trimmed();
    for (int i = 0; i < count(); ++i)
        if (itemData(i, ROLE_CODE).toString() == c)
            return i;
    return -1;
}

bool ComboCodee::selectionnerCode(const QString &code)
{
    const int i = indexCode(code);
    setCurrentIndex(i);
    return i >= 0;
}

QString ComboCodee::codeSelectionne() const
{
    return currentIndex() < 0 ? QString() : itemData(currentIndex(), ROLE_CODE).toString();
}

QString ComboCodee::codePourLike() const { return vyk::codePourLike(codeSelectionne()); }

QString ComboCodee::libelleSelectionne() const
{
    return currentIndex() < 0 ? QString() : itemData(currentIndex(), ROLE_LIBELLE).toString();
}

QString ComboCodee::texteSelectionne() const { return texteEntree(currentIndex()); }

QString ComboCodee::texteEntree(int index) const
{
    return index < 0 || index >= count() ? QString() : itemData(index, ROLE_TEXTE).toString();
}

} // namespace vyk
