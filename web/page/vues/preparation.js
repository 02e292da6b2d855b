// The pilots of the next series, to get ready.
import { liste, objet, texte, el, vide, table, cellule } from '../commun.js';

const TEXTES = {
  onglet: 'Préparation', titre: 'Préparation prochaine série', aucun: 'Aucun pilote à préparer',
  position: 'Position', numero: 'Vellor n°', pilote: 'Pilote', club: 'Club', legende: 'Pilotes de la prochaine série',
};

function construire(etat) {
  const prep = objet(etat.preparation);
  const f = document.createDocumentFragment();
  // Only an explicit "not found" hides the rows the station sent.
  const pilotes = prep.trouvee === false ? [] : liste(prep.pilotes);
  if (pilotes.length === 0) {
    f.append(vide(TEXTES.aucun));
    return f;
  }
  const t = table('preparation', [
    { classe: 'position', lignes: [TEXTES.position] },
    { classe: 'numero', lignes: [TEXTES.numero] },
    { classe: 'pilote', lignes: [TEXTES.pilote] },
    { classe: 'club', lignes: [TEXTES.club] }], TEXTES.legende);
  pilotes.forEach(function (p0, i) {
    const p = objet(p0);
    const tr = el('tr');
    tr.dataset.numero = texte(p.numero);
    // The preparation window calls the pilots by their second name part first.
    tr.append(cellule('position', String(i + 1)), cellule('numero', texte(p.numero)),
      cellule('pilote', texte(p.nom2) + ' ' + texte(p.nom1)), cellule('club', texte(p.club)));
    t.corps.append(tr);
  });
  f.append(t.table);
  return f;
}

export default {
  cle: 'preparation', id: 'vue-preparation', onglet: TEXTES.onglet, titre: TEXTES.titre, classeTitre: 'titre-vert',
  sousTitre: function (etat) { return texte(objet(etat.preparation).titre); },
  entrees: function (etat) { return [objet(etat.preparation).trouvee, objet(etat.preparation).pilotes]; },
  construire,
};
