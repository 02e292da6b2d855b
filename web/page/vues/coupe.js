// The cup's classification: rank, who moved, points; its title fades like on the projector.
import { liste, objet, texte, el, vide, table, cellule, nomPilote, rangCourt } from '../commun.js';
import { caseMouvement } from '../changements.js';
import { surPapier } from '../classements.js';
import { TITRE_FIXE, poserTitreCoupe, animerTitreCoupe } from '../titre.js';

const TEXTES = {
  onglet: 'Coupe', aucun: 'Aucun classement', rang: 'Rang', mouvement: 'Évol.', points: 'Points',
  numero: 'Vellor n°', pilote: 'Pilote', legende: 'Classement de la coupe',
};

function construire(etat) {
  const lignes = liste(etat.classementCoupe);
  const f = document.createDocumentFragment();
  if (lignes.length === 0) {
    f.append(vide(TEXTES.aucun));
    return f;
  }
  const t = table('coupe', [
    { classe: 'rang', lignes: [TEXTES.rang] },
    { classe: 'mouvement', lignes: [TEXTES.mouvement] },
    { classe: 'points', lignes: [TEXTES.points] },
    { classe: 'numero', lignes: [TEXTES.numero] },
    { classe: 'pilote', lignes: [TEXTES.pilote] }], TEXTES.legende);
  surPapier(t.table, TEXTES.legende);
  for (const l0 of lignes) {
    const l = objet(l0);
    const numero = texte(l.numero);
    const tr = el('tr', 'ligne-coupe');
    tr.dataset.numero = numero;
    const badge = el('span', 'badge', rangCourt(l.rang));
    badge.title = texte(l.rang);
    const rang = cellule('rang');
    rang.append(badge);
    const mouvement = cellule('mouvement');
    mouvement.append(caseMouvement('coupe:' + numero));
    tr.append(rang, mouvement, cellule('points', texte(l.points)), cellule('numero', numero),
      cellule('nom', nomPilote(l)));
    t.corps.append(tr);
  }
  f.append(t.table);
  return f;
}

export default {
  cle: 'coupe', id: 'vue-classement-coupe', onglet: TEXTES.onglet, titre: TITRE_FIXE, classeTitre: 'titre-coupe',
  preparer: function (section) { animerTitreCoupe(section.querySelector('h2')); },
  entrees: function (etat) { return [etat.classementCoupe]; },
  construire,
  apres: poserTitreCoupe,
};
