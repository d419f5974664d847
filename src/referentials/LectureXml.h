#pragma once

// What every XML reader of the referentials shares: element text read without recursion, a
// bound on nesting, and the reader's failures told in French.

#include <QString>
#include <QXmlStreamReader>

namespace vyk {

// Deepest nesting a referential file may have; the national files stay under ten.
inline constexpr int PROFONDEUR_XML_MAX = 200;

// Reads the text of the current element and of its children, as far as its end element, with
// a loop (a file nested thousands deep inside one field must not exhaust the stack). False,
// with the reader in error, when the element nests deeper than PROFONDEUR_XML_MAX counting
// `profondeur` (the depth of the current element).
bool lireTexteElement(QXmlStreamReader &xml, int profondeur, QString &texte);

// Puts the reader in error when `profondeur` exceeds PROFONDEUR_XML_MAX; true while it does not.
bool verifierProfondeurXml(QXmlStreamReader &xml, qsizetype profondeur);

// The reader's failure in French (its own English detail is not shown).
QString raisonXml(const QXmlStreamReader &xml);

// "Le fichier NOM n'est pas un fichier XML valide (ligne N : raison)."
QString messageXmlInvalide(const QString &nomFichier, const QXmlStreamReader &xml);

} // namespace vyk
