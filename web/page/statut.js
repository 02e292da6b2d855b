// The status line: whether the station answers and how old the data is; and the data's clock
// time, for paper.
import { texte, poserTexte } from './commun.js';

const AGE_ANCIEN_MS = 30000; // beyond this the status line turns yellow
const TEXTES = {
  perdue: 'Connexion perdue, nouvelle tentative…', recuesIlYa: (d) => ' (données reçues il y a ' + d + ')',
  reprisDe: (h) => ' (état repris de ' + h + ')', connexion: 'Connexion à la station…',
  repris: (h) => 'État repris de ' + h + ', en attente de l\'émetteur',
  premieres: 'En attente des premières données de la station', recues: (d) => 'Données reçues il y a ' + d,
  papierRepris: (h) => 'état repris de ' + h, papierAttente: 'en attente des données',
  papier: (d) => 'données du ' + d.toLocaleDateString('fr-FR') + ' à ' + d.toLocaleTimeString('fr-FR'),
};

let arrivee = null; // performance.now() when the shown state arrived
let reprise = '';   // when the state the station took back from disk was taken
let connexion = { ouvert: false, erreur: false, donnees: null };

export function suivreConnexion(c) { connexion = c; }
export function noterArrivee(etat, maintenant) {
  arrivee = maintenant;
  reprise = texte(etat.reprise);
}

function duree(ms) {
  const s = Math.max(0, Math.floor(ms / 1000));
  if (s < 60) return s + ' s';
  const m = Math.floor(s / 60);
  if (m < 60) return m + ' min ' + (s % 60) + ' s';
  return Math.floor(m / 60) + ' h ' + (m % 60) + ' min';
}

export function heureDesDonnees() {
  if (reprise) return TEXTES.papierRepris(reprise);
  if (connexion.donnees === null) return TEXTES.papierAttente;
  return TEXTES.papier(new Date(Date.now() - (performance.now() - connexion.donnees)));
}

export function majEtatConnexion() {
  const ligne = document.getElementById('etat-connexion');
  let message;
  let classe;
  let age = null;
  if (connexion.donnees !== null) age = performance.now() - connexion.donnees;
  if (connexion.erreur) {
    message = TEXTES.perdue;
    if (age !== null) message += TEXTES.recuesIlYa(duree(age));
    else if (reprise) message += TEXTES.reprisDe(reprise);
    classe = 'perdu';
  } else if (arrivee === null) {
    message = TEXTES.connexion;
    classe = 'attente';
  } else if (reprise) {
    // The station restarted from what it had saved: no sender has spoken since.
    message = TEXTES.repris(reprise);
    classe = 'ancien';
  } else if (age === null) {
    message = TEXTES.premieres;
    classe = 'attente';
  } else {
    message = TEXTES.recues(duree(age));
    classe = age > AGE_ANCIEN_MS ? 'ancien' : 'frais';
  }
  poserTexte(ligne, message);
  ligne.className = 'etat ' + classe;
}
