// The pilots a spectator follows: found by name or number, highlighted in every view, and
// placed in a line each.
import { liste, objet, texte, index, el, nomPilote, rangCourt, nomEpreuve, seriesEnCours } from './commun.js';
import { epreuvesTerminees, classementDe } from './epreuves.js';
import { marquer } from './changements.js';
import { lire, ecrire } from './stockage.js';
import { t, ordinal } from './langue.js';

const SUIVIS_MAX = 3;
const PROPOSITIONS_MAX = 8;
const CLE_SUIVIS = 'vellor.suivis';

let suivis = [];          // Vellor numbers, as text
let pilotes = new Map();  // every pilot the state names: number -> name
let etatCourant = {};

function sansAccents(t) { return t.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase(); }

function recenserPilotes(etat) {
  const tous = new Map();
  const ajouter = function (p0) {
    const p = objet(p0);
    const n = texte(p.numero);
    if (n && !tous.has(n)) tous.set(n, nomPilote(p));
  };
  liste(etat.classementCoupe).forEach(ajouter);
  for (const ep of liste(etat.epreuves))
    for (const s of liste(objet(ep).series)) liste(objet(s).pilotes).forEach(ajouter);
  liste(etat.classementEpreuve).forEach(ajouter);
  liste(etat.tableauEpreuve).forEach(ajouter);
  pilotes = tous;
}

// Where a pilot stands: "Coupe : 3e, 250 pts · Pylône racing : 2e · Épreuve : 5e · Série n° 9,
// dans 2 séries", with his rank in each event over.
function position(etat, numero) {
  const parties = [];
  const coupe = liste(etat.classementCoupe).map(objet).find(function (l) { return texte(l.numero) === numero; });
  if (coupe) {
    const rang = ordinal(rangCourt(coupe.rang));
    parties.push(t('suivis.coupe', { rang: texte(coupe.rang).includes('ex aequo') ? t('rang.exAequo', { rang }) : rang,
      points: texte(coupe.points) }));
  }
  for (const e of epreuvesTerminees(etat)) {
    const k = classementDe(etat, e).findIndex(function (l) { return texte(l.numero) === numero; });
    if (k >= 0) parties.push(t('suivis.rangEpreuve', { epreuve: nomEpreuve(etat, e), rang: ordinal(k + 1) }));
  }
  const rang = liste(etat.classementEpreuve).findIndex(function (l) { return texte(objet(l).numero) === numero; });
  if (rang >= 0) parties.push(t('suivis.epreuveEnCours', { rang: ordinal(rang + 1) }));
  parties.push(prochaineSerie(etat, numero));
  return parties.filter(Boolean).join(' · ');
}

// The pilot's series that has not flown yet: the current one while it is called or flies,
// else the next that holds him, and how many series still to fly come before it (a series
// with its results has flown).
function prochaineSerie(etat, numero) {
  const series = seriesEnCours(etat);
  const courante = index(etat.serieCourante);
  const aVoler = function (s, i) { return i >= courante && s.avecResultats !== true; };
  const k = series.findIndex(function (s, i) {
    return aVoler(s, i) && liste(s.pilotes).some(function (p) { return texte(objet(p).numero) === numero; });
  });
  if (k < 0) return '';
  if (k === courante) return etat.serieDrapeau === true ? t('suivis.enVol') : t('suivis.enPreparation', { n: k + 1 });
  const avant = series.slice(0, k).filter(aVoler).length;
  return avant ? t('suivis.dans', { serie: k + 1, n: avant }) : t('suivis.prochaine', { n: k + 1 });
}

function montrerSuivis() {
  const ul = document.getElementById('suivis');
  const lignes = suivis.map(function (numero) {
    const li = el('li', 'suivi');
    li.append(el('span', 'numero', numero), ' ', el('strong', 'nom', pilotes.get(numero) || t('suivis.inconnu')));
    const ou = position(etatCourant, numero);
    if (ou) li.append(' · ', el('span', 'position', ou));
    const retirer = el('button', 'retirer', '×');
    retirer.type = 'button';
    retirer.setAttribute('aria-label', t('suivis.nePlusSuivre', { nom: pilotes.get(numero) || numero }));
    retirer.addEventListener('click', function () { changerSuivis(suivis.filter(function (n) { return n !== numero; })); });
    li.append(retirer);
    return li;
  });
  // Rebuilt only when a line says something new, so that a screen reader hears news only.
  const cle = JSON.stringify(lignes.map(function (l) { return l.textContent; }));
  if (ul.dataset.cle !== cle) {
    ul.dataset.cle = cle;
    ul.replaceChildren(...lignes);
  }
}

function changerSuivis(liste) {
  suivis = liste.slice(0, SUIVIS_MAX);
  ecrire(CLE_SUIVIS, JSON.stringify(suivis));
  montrerSuivis();
  proposer();
  surligner();
  marquer(performance.now());
}

function proposer() {
  const champ = document.getElementById('recherche');
  const ul = document.getElementById('propositions');
  const cherche = sansAccents(champ.value.trim());
  const trouves = [];
  if (cherche) {
    for (const [numero, nom] of pilotes) {
      if (numero.startsWith(cherche) || sansAccents(nom).includes(cherche)) trouves.push([numero, nom]);
      if (trouves.length === PROPOSITIONS_MAX) break;
    }
  }
  // Rebuilt on each state only if it says something new: a finger or a screen reader on a
  // proposal keeps it.
  const cle = JSON.stringify([trouves, suivis]);
  if (ul.dataset.cle === cle) return;
  ul.dataset.cle = cle;
  ul.replaceChildren(...trouves.map(function ([numero, nom]) {
    const li = el('li');
    const b = el('button', 'proposition');
    b.type = 'button';
    b.append(el('span', 'numero', numero), ' ', el('span', 'nom', nom));
    const deja = suivis.includes(numero);
    b.disabled = deja || suivis.length >= SUIVIS_MAX;
    b.title = t(deja ? 'suivis.deja' : b.disabled ? 'suivis.trois' : 'suivis.suivre');
    b.addEventListener('click', function () {
      changerSuivis(suivis.concat([numero]));
      champ.value = '';
      proposer();
    });
    li.append(b);
    return li;
  }));
  if (cherche && trouves.length === 0) ul.append(el('li', 'vide', t('suivis.aucun')));
}

function lireSuivis() {
  let lus = [];
  try { lus = JSON.parse(lire(CLE_SUIVIS) || '[]'); } catch (err) { lus = []; }
  lus = liste(lus).map(texte).filter(Boolean);
  // A shared link adds its pilot to those already followed here.
  const lien = new URLSearchParams(location.search).get('suivre');
  for (const n of (lien || '').split(',').map(function (t) { return t.trim(); }))
    if (/^\d+$/.test(n) && !lus.includes(n)) lus.push(n);
  // Taken once: a reload must not bring back a pilot the spectator stopped following.
  if (lien !== null) history.replaceState(null, '', location.pathname + location.hash);
  return lus.slice(-SUIVIS_MAX);
}

export function preparerSuivis() {
  suivis = lireSuivis();
  ecrire(CLE_SUIVIS, JSON.stringify(suivis));
  document.getElementById('recherche').addEventListener('input', proposer);
}

export function suivreEtat(etat) {
  etatCourant = etat;
  recenserPilotes(etat);
  montrerSuivis();
  if (document.getElementById('recherche').value) proposer();
}

// The followed pilots' rows in every view.
export function surligner() {
  for (const n of document.querySelectorAll('.vues [data-numero]'))
    n.classList.toggle('suivi', suivis.includes(n.dataset.numero));
}
