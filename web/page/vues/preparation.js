// The pilots of the next series, to get ready.
import { liste, objet, texte, el, vide, table, cellule } from '../commun.js';
import { t } from '../langue.js';

function construire(etat) {
  const prep = objet(etat.preparation);
  const f = document.createDocumentFragment();
  // Only an explicit "not found" hides the rows the station sent.
  const pilotes = prep.trouvee === false ? [] : liste(prep.pilotes);
  if (pilotes.length === 0) {
    f.append(vide(t('preparation.aucun')));
    return f;
  }
  const grille = table('preparation', [
    { classe: 'position', lignes: [t('colonne.positionLongue')] },
    ...['numero', 'pilote', 'club'].map(function (c) { return { classe: c, lignes: [t('colonne.' + c)] }; })],
  t('preparation.legende'));
  pilotes.forEach(function (p0, i) {
    const p = objet(p0);
    const tr = el('tr');
    tr.dataset.numero = texte(p.numero);
    // The preparation window calls the pilots by their second name part first.
    tr.append(cellule('position', String(i + 1)), cellule('numero', texte(p.numero)),
      cellule('pilote', texte(p.nom2) + ' ' + texte(p.nom1)), cellule('club', texte(p.club)));
    grille.corps.append(tr);
  });
  f.append(grille.table);
  return f;
}

export default {
  cle: 'preparation', id: 'vue-preparation', onglet: t('preparation.onglet'), titre: t('preparation.titre'),
  classeTitre: 'titre-vert',
  sousTitre: function (etat) { return texte(objet(etat.preparation).titre); },
  entrees: function (etat) { return [objet(etat.preparation).trouvee, objet(etat.preparation).pilotes]; },
  construire,
};
