// Overlays for a live stream's browser source (OBS Studio, vMix): 1920 x 1080 on a
// transparent background, fed by the same stream as the page.
//   ?vue=serie          the series in flight as a lower third, with the two chronometers
//   ?vue=tableau        the current scoreboard's ten rows
//   ?vue=coupe&haut=N   the cup's first N (10 unless said, 1 to 40)
import * as V from './commun.js';
import { t } from './langue.js';

const HAUT_DEFAUT = 10;
const HAUT_MAX = 40;

const parametres = new URLSearchParams(location.search);
const vue = ['serie', 'tableau', 'coupe'].includes(parametres.get('vue')) ? parametres.get('vue') : 'serie';
const demande = parseInt(parametres.get('haut'), 10);
const haut = Number.isNaN(demande) ? HAUT_DEFAUT : Math.min(HAUT_MAX, Math.max(1, demande));

function panneau(titre, sousTitre) {
  const p = V.el('section', 'panneau ' + vue);
  const tete = V.el('header', 'tete');
  tete.append(V.el('h1', 'titre', titre));
  if (sousTitre) tete.append(V.el('p', 'sous-titre', sousTitre));
  p.append(tete);
  return p;
}

// Nothing shows while no series flies: the stream sees its own picture.
function serie(etat) {
  const series = V.seriesEnCours(etat);
  const k = V.index(etat.serieCourante);
  if (k < 0 || k >= series.length) return null;
  const p = panneau(t('series.serie', { n: k + 1 }), V.nomEpreuve(etat, V.epreuveEnCours(etat)));
  const ul = V.el('ul', 'pilotes');
  const avecResultats = series[k].avecResultats === true;
  for (const pilote of V.liste(series[k].pilotes))
    ul.append(V.lignePilote(V.objet(pilote), avecResultats, { classe: 'pilote' }));
  const chrono = V.el('div', 'chrono');
  chrono.append(V.chrono(etat));
  p.append(ul, chrono);
  return p;
}

// Nothing either for the first event, which has no scoreboard.
function tableau(etat) {
  const e = V.epreuveEnCours(etat);
  if (e < 1) return null;
  const p = panneau(V.nomEpreuve(etat, e));
  p.append(V.tableau(e, V.liste(etat.tableauEpreuve)));
  return p;
}

function coupe(etat) {
  const lignes = V.liste(etat.classementCoupe).slice(0, haut);
  if (lignes.length === 0) return null;
  const p = panneau(V.texte(etat.titreCoupe) || "Vellor's Cup");
  const ol = V.el('ol', 'coupe');
  // The type shrinks so that the rows asked for fit the picture's height.
  ol.style.setProperty('--lignes', String(lignes.length));
  for (const l0 of lignes) {
    const l = V.objet(l0);
    const li = V.el('li', 'ligne-coupe');
    li.append(V.el('span', 'badge', V.rangCourt(l.rang)), V.el('span', 'numero', V.texte(l.numero)),
      V.el('span', 'nom', V.nomPilote(l)), V.el('span', 'points', V.texte(l.points)));
    ol.append(li);
  }
  p.append(ol);
  return p;
}

const construire = { serie, tableau, coupe }[vue];
let enAttente = null;
let cle = null;

function rendre() {
  const etat = enAttente;
  enAttente = null;
  const nouvelle = JSON.stringify(vue === 'serie'
    ? [etat.epreuveEnCours, V.seriesEnCours(etat)[V.index(etat.serieCourante)], etat.tempsEcoule, etat.tempsRestant]
    : vue === 'tableau' ? [etat.epreuveEnCours, etat.tableauEpreuve]
      : [etat.titreCoupe, V.liste(etat.classementCoupe).slice(0, haut)]);
  if (nouvelle === cle) return;
  cle = nouvelle;
  const contenu = construire(etat);
  document.getElementById('incrustation').replaceChildren(...(contenu ? [contenu] : []));
}

document.body.classList.add('vue-' + vue);
V.connecter(function (etat) {
  const premier = enAttente === null;
  enAttente = etat;
  if (premier) requestAnimationFrame(rendre);
}, function () { /* an overlay keeps its last picture while the stream reconnects */ });
