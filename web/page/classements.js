// An event's classification table, in its tab and in the day's, and the header every list
// carries on paper.
import { objet, texte, el, cellule, table, nomPilote, poserTexte } from './commun.js';
import { caseMouvement } from './changements.js';
import { t } from './langue.js';

// On paper each page of a classification starts with the contest's title, the list's name
// and the time of the data: a header row repeated on every sheet.
export function surPapier(table, quoi) {
  const th = el('th', 'papier');
  th.colSpan = table.querySelectorAll('col').length;
  th.dataset.papier = quoi;
  const tr = el('tr', 'papier');
  tr.append(th);
  table.tHead.prepend(tr);
}

export function poserPapiers(titre, heure) {
  for (const n of document.querySelectorAll('[data-papier]'))
    poserTexte(n, titre + ' · ' + n.dataset.papier + ' · ' + heure);
}

// `mouvements` says whether its rows show who moved (the event in flight only); `papier`
// names it on paper.
export function tableClassement(lignes, legende, mouvements, papier) {
  const grille = table('classement', ['position', 'numero', 'pilote', 'points'].map(function (c) {
    return { classe: c, lignes: [t('colonne.' + c)] };
  }), legende);
  if (papier) surPapier(grille.table, papier);
  lignes.forEach(function (l0, i) {
    const l = objet(l0);
    const numero = texte(l.numero);
    const tr = el('tr');
    tr.dataset.numero = numero;
    // Positions run 1, 2, 3... also between equal points, as on the projector.
    const position = cellule('position', String(i + 1));
    if (mouvements) position.append(caseMouvement('epreuve:' + numero));
    tr.append(position, cellule('numero', numero), cellule('pilote', nomPilote(l)),
      cellule('points', texte(l.points)));
    grille.corps.append(tr);
  });
  return grille.table;
}
