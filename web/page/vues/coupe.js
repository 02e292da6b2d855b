// The cup's classification: rank, who moved, points; its title fades like on the projector.
import { liste, objet, texte, el, vide, table, cellule, nomPilote, rangCourt, rangLong } from '../commun.js';
import { caseMouvement } from '../changements.js';
import { surPapier } from '../classements.js';
import { TITRE_FIXE, poserTitreCoupe, animerTitreCoupe } from '../titre.js';
import { t } from '../langue.js';

function construire(etat) {
  const lignes = liste(etat.classementCoupe);
  const f = document.createDocumentFragment();
  if (lignes.length === 0) {
    f.append(vide(t('classement.aucun')));
    return f;
  }
  const legende = t('coupe.legende');
  const grille = table('coupe', ['rang', 'mouvement', 'points', 'numero', 'pilote'].map(function (c) {
    return { classe: c, lignes: [t('colonne.' + c)] };
  }), legende);
  surPapier(grille.table, legende);
  for (const l0 of lignes) {
    const l = objet(l0);
    const numero = texte(l.numero);
    const tr = el('tr', 'ligne-coupe');
    tr.dataset.numero = numero;
    const badge = el('span', 'badge', rangCourt(l.rang));
    badge.title = rangLong(l.rang);
    const rang = cellule('rang');
    rang.append(badge);
    const mouvement = cellule('mouvement');
    mouvement.append(caseMouvement('coupe:' + numero));
    tr.append(rang, mouvement, cellule('points', texte(l.points)), cellule('numero', numero),
      cellule('nom', nomPilote(l)));
    grille.corps.append(tr);
  }
  f.append(grille.table);
  return f;
}

export default {
  cle: 'coupe', id: 'vue-classement-coupe', onglet: t('coupe.onglet'), titre: TITRE_FIXE, classeTitre: 'titre-coupe',
  preparer: function (section) { animerTitreCoupe(section.querySelector('h2')); },
  entrees: function (etat) { return [etat.classementCoupe]; },
  construire,
  apres: poserTitreCoupe,
};
