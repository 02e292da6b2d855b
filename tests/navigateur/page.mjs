// The station's results page in Chromium at a phone's size, as a spectator sees it.
//
//   node page.mjs vues
//     The page's own files on sample states, without a server: the browser's requests are
//     answered from web/page with the station's security policy. Prints each scenario's
//     failed checks and exits 1 on any.
//   node page.mjs essai URL
//     Prints "prêt" once the first series are drawn, then obeys its standard input, one
//     command a line:
//       attendre ["texte", ...]  prints "vu" once the series in flight (#vue-series
//                                .courante) shows each text as a pilot's name, or
//                                "faute <raison>" if it does not or the page misbehaved;
//       coupure                  the station is going away: failed loads are expected;
//       age URL N                a new phone opens URL: prints "age A" once its status line
//                                reads data at least N s old (A s), or "faute <raison>".
//   node page.mjs suivre URL [--duree S] [--captures DOSSIER] [--incrustation]
//     Every 2 s compares each view with /etat.json fetched from the page (and the series
//     overlay's pilots with the series in flight, with --incrustation); prints
//     "suivi N s : K contrôles, E écarts" and exits 1 on any gap. --captures writes the
//     README's two phone screenshots there.
// In every mode a reload, dialog, script error, console error or CSP violation is a fault.
import { chromium } from 'playwright-core';
import { createInterface } from 'node:readline';
import { readFileSync } from 'node:fs';
import { execFileSync } from 'node:child_process';

const [mode, url, ...reste] = process.argv.slice(2);
if (!(mode === 'vues' || (['essai', 'suivre'].includes(mode) && url))) {
  console.error('usage : page.mjs vues | essai URL | suivre URL [--duree S] [--captures DOSSIER]');
  process.exit(2);
}
const option = (nom, defaut) => (reste.includes(nom) ? reste[reste.indexOf(nom) + 1] : defaut);
const attendre = (ms) => new Promise((r) => setTimeout(r, ms));
const dire = (ligne) => process.stdout.write(ligne + '\n');
// A cold browser on a busy machine takes its time: bounds are generous, never retried.
const DELAI = 60000;

// Runs in the page before its own script: records CSP violations and the newest sequence of
// the states the event stream or a fetch of the page brought, so that checks can tell a
// stale view from a wrong one.
function sonde() {
  window.__suivi = { violations: [], sequence: -1 };
  document.addEventListener('securitypolicyviolation',
    (e) => window.__suivi.violations.push(e.violatedDirective + ' ' + e.blockedURI));
  window.EventSource = class extends window.EventSource {
    constructor(...args) {
      super(...args);
      window.__suivi.flux = this; // for states fed one at a time
      this.addEventListener('etat', (ev) => { window.__suivi.sequence = JSON.parse(ev.data).sequence; });
    }
  };
  // After a reconnection the page fetches the state, which may be newer than the last event.
  const chercher = window.fetch;
  window.fetch = async (...args) => {
    const r = await chercher(...args);
    if (String(args[0]).endsWith('etat.json') && r.ok) r.clone().json().then((e) => {
      window.__suivi.sequence = Math.max(window.__suivi.sequence, e.sequence);
    }, () => {});
    return r;
  };
}

const navigateur = await chromium.launch({
  executablePath: process.env.VELLOR_CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--no-first-run',
    '--disable-component-update', '--disable-sync'],
});
const contexte = await navigateur.newContext({
  viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, deviceScaleFactor: 2, locale: 'fr-FR',
});
// A string, not a function: the views' checker is defined further down.
await contexte.addInitScript({ content: `(${sonde})(); window.__ecarts = ${ecarts}; window.__ecartsIncrustation = ${ecartsIncrustation};` });

// A page open on the address once the selector is there, noting the faults it shows.
async function ouvrir(adresse, selecteur, taille) {
  const page = await contexte.newPage();
  if (taille) await page.setViewportSize(taille);
  const s = { page, fautes: [], chargements: 0, coupure: false };
  page.on('dialog', (d) => { s.fautes.push('dialogue : ' + d.message()); d.dismiss().catch(() => {}); });
  page.on('pageerror', (e) => s.fautes.push('erreur de script : ' + e.message));
  page.on('console', (m) => {
    // While the station is down, the browser reports each failed reconnection.
    if (m.type() !== 'error' || (s.coupure && /net::ERR_|Failed to load/.test(m.text()))) return;
    s.fautes.push('erreur console : ' + m.text() + ' (' + m.location().url + ')');
  });
  page.on('load', () => s.chargements++);
  await page.goto(adresse, { timeout: DELAI });
  await page.waitForSelector(selecteur, { state: 'attached', timeout: DELAI })
    .catch(() => s.fautes.push(`rien de dessiné en ${DELAI / 1000} s`));
  return s;
}

const GRAND = { width: 1920, height: 1080 };

// The alpha of a screenshot with no background: at the top-left corner and at the first
// panel's centre.
async function alphas(page) {
  const png = (await page.screenshot({ omitBackground: true })).toString('base64');
  const r = await page.$eval('.panneau', (n) => n.getBoundingClientRect().toJSON()).catch(() => ({ x: 0, y: 0, width: 0 }));
  const lecteur = await contexte.newPage();
  const a = await lecteur.evaluate(async ([png, x, y, largeur]) => {
    const img = new Image();
    img.src = 'data:image/png;base64,' + png;
    await img.decode();
    const c = document.createElement('canvas');
    [c.width, c.height] = [img.width, img.height];
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    const f = img.width / largeur;
    return [g.getImageData(0, 0, 1, 1).data[3], g.getImageData(x * f, y * f, 1, 1).data[3]];
  }, [png, r.x + r.width / 2, r.y + 4, page.viewportSize().width]);
  await lecteur.close();
  return a;
}

async function fautes(s) {
  const [balises, violations] = await s.page.evaluate(() =>
    [document.querySelectorAll('img, script:not([src])').length, window.__suivi.violations]);
  return [...s.fautes, ...violations.map((v) => 'violation CSP : ' + v),
    ...(balises ? [balises + ' balise(s) <img> ou <script> injectée(s)'] : []),
    ...(s.chargements === 1 ? [] : ['page rechargée (' + s.chargements + ' chargements)'])];
}
// The failed checks with the page's faults, once it is closed.
const clore = async (s, echecs) => { echecs.push(...await fautes(s)); await s.page.close(); return echecs; };

// ---- Sample states: the page's own files, no station. ----

const EPREUVES = ['Jugement esthétique', 'Cassé de baguettes', 'Pylône racing', 'Chasse au renard', 'Limbo'];
const CLUBS = ['Aéroclub du Val de Loire', 'Les Ailes du Berry', 'Cercle aérien de Bourges',
  'Les Faucons de Vierzon', 'Aéroclub de Sologne'];
// Thirty pilots, six a series; the long ones and the markup one test what a phone shows.
const NOMS = ('MARTIN/Julie,CHARPENTIER/Inès,MOREL/Émilie,JOLY/Laurent,MEYER/Pierre,POIRIER/Noémie,' +
  'BRETON/Bastien,NOËL/Lucie,COLIN/Frédéric,MORIN/Antoine,PERRIN/Mathieu,COUSIN/Céline,DESCHAMPS/Claire,' +
  'HUET/Guillaume,LE GALL/Benoît,LAMBERT/Frédéric,WOLFESCHLEGELSTEINHAUSENBERGERDORFF/Hubert,VIDAL/Julien,' +
  'DUFOUR/Isabelle,PETIT/Frédéric,LEFÈBVRE/Cédric,LECOMTE/Pauline,POIRIER/Camille,RENARD/Léa,' +
  'DE LA ROCHEFOUCAULD-MONTBRISON/Marie-Charlotte,<img src=x onerror=alert(1)>/Pirate,GARNIER/Hugo,' +
  'ROUSSEAU/Chloé,FAURE/Yann,BLANC/Zoé').split(',').map((n) => n.split('/'));

function exemple(epreuve, noms = NOMS) {
  const pilotes = noms.map(([nom1, nom2], i) =>
    ({ numero: 10 + 3 * i, points: (i * 37) % 120, club: CLUBS[i % 5], nom1, nom2, reussi: i % 3 !== 0 }));
  const series = Array.from({ length: noms.length / 6 },
    (_, k) => ({ avecResultats: k < 2, pilotes: pilotes.slice(6 * k, 6 * k + 6) }));
  const classes = [...pilotes].sort((a, b) => b.points - a.points || a.nom1.localeCompare(b.nom1));
  // The first six have flown; a score not yet flown is "0".
  const vol = (i, v) => (i < 6 ? String(v) : '0');
  return {
    format: 1, sequence: 42, depuisTrameMs: 120, titreCoupe: 'Coupe des Vellor 2026',
    epreuveEnCours: epreuve, serieCourante: 2, tempsEcoule: '05:12', tempsRestant: '02:48',
    epreuves: EPREUVES.map((nom, e) => ({ nom, series: e === epreuve ? series : [] })),
    preparation: { trouvee: true, titre: EPREUVES[epreuve] + ' - Série n° 4', pilotes: series[3].pilotes },
    classementEpreuve: classes,
    classementCoupe: classes.map((p, i) =>
      ({ ...p, rang: String(i + 1) + (i === 4 || i === 5 ? ' ex aequo' : ''), points: 300 - 7 * i })),
    tableauEpreuve: classes.slice(0, 12).map((p, i) => ({
      ...p, numero: String(p.numero), drapeauNumero: vol(i, 1), looping: String(i % 4), limbo: String(i % 3),
      pylones: vol(i, 90 - 10 * i), touchAndGo: vol(i, 20), total: vol(i, 110 - 10 * i),
    })),
  };
}
// The second state of "mouvement": the 6th of the cup climbs to 4th, the series in flight
// gets its results.
function apres(etat) {
  const b = structuredClone(etat);
  const coupe = b.classementCoupe;
  coupe.splice(3, 0, coupe.splice(5, 1)[0]);
  coupe.forEach((l, i) => { l.rang = String(i + 1); });
  b.epreuves[2].series[2].avecResultats = true;
  return b;
}
// Values no sender means, in well-formed rows: 60 cup rows, ranks and points negative or
// huge, empty names.
function hostile() {
  const e = exemple(2);
  const bizarres = [{ rang: '-3', points: -40 }, { rang: '99999999999999', points: 1e15 }, { nom1: '', nom2: '' }, {}];
  e.classementCoupe = Array.from({ length: 60 }, (_, i) => ({ ...e.classementCoupe[i % 30], ...bizarres[i % 4] }));
  e.classementEpreuve = e.classementEpreuve.map((l, i) => ({ ...l, ...bizarres[i % 4] }));
  e.epreuves[2].series[1].pilotes.forEach((p, i) => Object.assign(p, bizarres[i % 4]));
  return e;
}
// The day: events 0 and 1 over with the series of 2, in flight; their classifications in an
// order the page must follow as sent (not by points).
function journee(noms) {
  const e = exemple(2, noms);
  const n = noms.length;
  for (const k of [0, 1]) {
    e.epreuves[k] = { nom: EPREUVES[k], series: e.epreuves[2].series.map((s) => ({ ...s, avecResultats: true })),
      classement: Array.from({ length: n }, (_, i) => (k ? n - 1 - i : (i * 7) % n)) };
  }
  return e;
}
// 150 pilots for paper, one in three with a name of several lines: a row a sheet might split.
const CENT_CINQUANTE = Array.from({ length: 150 },
  (_, i) => [`NOM${i}`, (i % 3 ? 'Jean ' : 'Apolline '.repeat(40)) + `FIN${i}`]);
const ETATS = {
  journee: journee(NOMS), papier: journee(CENT_CINQUANTE),
  pylones: exemple(2), limbo: exemple(4), jugement: exemple(0), mouvement: [exemple(2), apres(exemple(2))], hostile: hostile(),
  casse: { format: 1, epreuveEnCours: '2', depuisTrameMs: 'x', epreuves: 'x', preparation: 5,
    classementEpreuve: { a: 1 }, classementCoupe: [null, 3, { rang: 7, nom1: { x: 1 } }],
    tableauEpreuve: [null], titreCoupe: ['x'] },
};

// Runs in the page: what its rendering of the scenario's state gets wrong, as texts. Every
// view shows the state's names as they were typed, then what the follow mode cannot know.
function verifier([scenario, etat]) {
  const echecs = scenario === 'casse' ? [] : window.__ecarts(etat);
  const ok = (c, m) => { if (!c) echecs.push(m); };
  const tous = (sel, racine = document) => Array.from(racine.querySelectorAll(sel));
  // Every text shown keeps a contrast of 4.5:1 against what lies under it (the page is black).
  const rgb = (c) => c.match(/[\d.]+/g).map(Number);
  const lum = (c) => rgb(c).slice(0, 3).map((v) => (v /= 255) <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4)
    .reduce((t, v, i) => t + v * [0.2126, 0.7152, 0.0722][i], 0);
  const fond = (n) => { for (; n; n = n.parentElement) { const f = getComputedStyle(n).backgroundColor;
    if (rgb(f)[3] !== 0) return f; } return 'rgb(0, 0, 0)'; };
  for (const n of tous('body *')) {
    if (!n.checkVisibility() || ![...n.childNodes].some((c) => c.nodeType === 3 && c.textContent.trim())) continue;
    const [a, b] = [lum(getComputedStyle(n).color), lum(fond(n))].sort((x, y) => y - x);
    ok((a + 0.05) / (b + 0.05) >= 4.5, `contraste ${((a + 0.05) / (b + 0.05)).toFixed(1)} : « ${n.textContent.slice(0, 30)} »`);
  }
  const texte = (sel) => tous(sel).map((n) => n.textContent).join('\n');
  const couleurs = (sel, racine, p = 'color') => tous(sel, racine).map((n) => getComputedStyle(n)[p]);
  // The colour as a viewer names it.
  const teinte = (c) => {
    const [r, g] = c.match(/\d+/g).map(Number);
    return g > r + 64 ? 'vert' : r > g + 64 ? 'rouge' : 'neutre';
  };
  for (const n of [document.documentElement, ...tous('section')])
    ok(n.scrollWidth <= n.clientWidth, `débordement de ${n.id || 'la page'} : ${n.scrollWidth} > ${n.clientWidth}`);
  const cartes = tous('#vue-series .serie');
  const t = (k, c) => document.querySelector(`#vue-tableau tbody tr:nth-child(${k + 1}) ${c}`).textContent;
  if (scenario === 'pylones') {
    const bords = couleurs('.serie', document, 'borderTopColor');
    ok(bords.filter((b) => b !== bords[0]).length === 1 && bords[2] !== bords[0],
      'la série en vol n\'est pas la troisième, seule marquée : ' + bords.join(' '));
    ok(document.querySelector('#vue-series a[href="#serie-en-vol"]') &&
      document.getElementById('serie-en-vol') === cartes[2], 'lien vers la série en vol');
    // Pilots 1 and 4 of the first series failed; the series in flight has no results yet.
    const [c1, c3] = [couleurs('.nom', cartes[0]).map(teinte), couleurs('.nom', cartes[2]).map(teinte)];
    ok(c1.join() === 'rouge,vert,vert,rouge,vert,vert', 'couleurs des résultats : ' + c1);
    ok(c3.every((c) => c === 'neutre'), 'série sans résultats colorée : ' + c3);
    ok(texte('#vue-series .titre-serie').startsWith('Série n° 1\nSérie n° 2'), 'titres des séries');
    ok(texte('#vue-preparation .sous-titre') === 'Pylône racing - Série n° 4', 'titre de la préparation');
    ok(tous('#vue-tableau tbody tr').length === 10 && texte('#vue-tableau thead').includes('Pylônes'),
      'tableau des pylônes');
    const numeros = couleurs('#vue-tableau tbody .numero').map(teinte);
    ok(numeros[0] === 'vert' && numeros[6] === 'rouge', 'numéros de qui a volé et de qui attend : ' + numeros);
    ok(t(6, '.epreuve') + t(6, '.total') === '', 'un "0" du tableau est écrit');
    ok(t(0, '.total') === '110', 'total : ' + t(0, '.total'));
  } else if (scenario === 'limbo') {
    ok(texte('#vue-tableau thead').includes('Limbo envol / looping'), 'en-tête du limbo');
    const limbo = [0, 1, 3].map((k) => t(k, '.epreuve'));
    ok(limbo.join('|') === '|1 / 1|0 / 3', 'limbo en vol / looping : ' + limbo);
  } else if (scenario === 'mouvement') {
    const fleche = (k) => document.querySelector(
      `#vue-classement-coupe tr[data-numero="${etat.classementCoupe[k].numero}"] .mouvement`).textContent;
    ok([0, 3, 4, 5].map(fleche).join() === ',▲2,▼1,▼1', 'flèches de la coupe : ' + [0, 3, 4, 5].map(fleche));
    ok(tous('#vue-series .courante [data-arrivee]').length === 6, 'résultats arrivés non marqués');
  } else if (scenario === 'jugement') {
    ok(texte('#vue-tableau').includes('Pas de tableau'), 'tableau pour la première épreuve');
  } else if (scenario === 'casse') {
    ok(texte('#vue-series').includes('Aucune épreuve en cours'), 'séries d\'un état cassé');
    ok(tous('#vue-classement-coupe .ligne-coupe').length === 3, 'lignes de coupe d\'un état cassé');
  }
  return echecs;
}

async function vues() {
  const fichier = (nom) => readFileSync(new URL('../../' + nom, import.meta.url));
  // The policy the station sends, read from its source so that both never part.
  const csp = String(fichier('web/serveurweb.cpp')).match(/politiqueContenu\[\] =\s*((?:"[^"]*"\s*)+);/)[1]
    .replace(/"\s*"?/g, '');
  // Only the files of the station's resource, by their names there, as the station serves them.
  const FICHIERS = Object.fromEntries([...String(fichier('web/page/page.qrc')).matchAll(/alias="([^"]+)">([^<]+)</g)]
    .map(([, nom, f]) => [nom, f]));
  const TYPES = { html: 'text/html', css: 'text/css', js: 'text/javascript' };
  // Paths are /scenario/file. The stream brings the state once and asks for no retry soon.
  await contexte.route('**/*', (requete) => {
    const [, scenario, ...chemin] = new URL(requete.request().url()).pathname.split('/');
    const nom = { '': 'index.html', incrustation: 'incrustation.html' }[chemin.join('/')] ?? chemin.join('/');
    const etats = [].concat(ETATS[scenario]).map((e) => JSON.stringify(e));
    const flux = { 'etat.json': ['application/json', etats.at(-1)], evenements: ['text/event-stream',
      'retry: 3600000\n\n' + etats.map((e) => `event: etat\ndata: ${e}\n\n`).join('')] }[nom];
    const [type, corps] = flux ?? [TYPES[nom.split('.').at(-1)], FICHIERS[nom] && fichier('web/page/' + FICHIERS[nom])];
    if (!corps) return requete.fulfill({ status: 404 });
    return requete.fulfill({ headers: { 'content-type': type + '; charset=utf-8', 'content-security-policy': csp }, body: corps });
  });
  let echec = false;
  const rapporter = (nom, echecs) => {
    dire((echecs.length ? 'ECHEC ' : 'OK ') + nom + echecs.map((e) => '\n  ' + e).join(''));
    echec ||= echecs.length > 0;
  };
  for (const scenario of Object.keys(ETATS)) {
    // The scoreboard is the last view drawn.
    const s = await ouvrir(`http://127.0.0.1:9/${scenario}/`, '#vue-tableau [data-role=contenu] > *');
    const vus = await s.page.evaluate(verifier, [scenario, [].concat(ETATS[scenario]).at(-1)])
      .catch((e) => ['vérification impossible : ' + e.message]);
    rapporter(scenario, await clore(s, vus));
  }
  for (const [nom, parcours] of Object.entries({ onglets, suivre: suivrePilotes, vie, jour, impression: papier, incrustations }))
    rapporter(nom, await parcours().catch((e) => ['arrêt : ' + e.message]));
  return echec ? 1 : 0;
}

// The day on a phone: the events run in slot order, the one in flight marked and shown first,
// then the one chosen, kept; each classification as the station sent it; the ranks of the
// events over in the followed pilot's line. All of them side by side on a laptop.
async function jour() {
  const [echecs, ok] = releve();
  const e = ETATS.journee;
  const pilotes = e.epreuves[0].series.flatMap((s) => s.pilotes);
  const voulus = [0, 1].map((k) => e.epreuves[k].classement.map((i) => pilotes[i])).concat([e.classementEpreuve])
    .map((l) => l.map((p, i) => [i + 1, p.numero, p.nom1 + ' ' + p.nom2, p.points].join('')).join());
  // Each event as its slot, * when marked in flight, whether it shows, its rows.
  const vues = (page) => page.$$eval('.epreuve-journee', (l) => l.map((a) => [
    a.dataset.epreuve + (a.matches('.en-cours[aria-current]') ? '*' : ''), a.checkVisibility(),
    Array.from(a.querySelectorAll('tbody tr'), (r) => r.textContent).join()]));
  const montrees = async (page) => (await vues(page)).filter((v) => v[1]).map((v) => v[0]).join();
  const s = await ouvrir('http://127.0.0.1:9/journee/?suivre=85#journee', '#suivis li');
  const v = await vues(s.page);
  ok(v.map((x) => x[0]).join() === '0,1,2*', 'épreuves de la journée : ' + v.map((x) => x[0]));
  v.forEach(([k, , lignes], i) => ok(lignes === voulus[i], `classement de l'épreuve ${k} : ${lignes.slice(0, 80)}`));
  ok(await visibles(s.page) + await montrees(s.page) === 'journee2*', 'lien #journee : ' + await montrees(s.page));
  const ligne = await s.page.locator('#suivis li', { hasText: /^85 / }).textContent();
  ok(ligne.includes(' · Jugement esthétique : 26e · Cassé de baguettes : 5e · Épreuve : 8e · '),
    'ligne du pilote suivi : ' + ligne);
  await s.page.selectOption('#choix-epreuve', '0');
  ok(await montrees(s.page) === '0', 'épreuve choisie : ' + await montrees(s.page));
  const t = await ouvrir('http://127.0.0.1:9/journee/', '#vue-journee .epreuve-journee');
  ok(await montrees(t.page) === '0', 'épreuve retenue : ' + await montrees(t.page));
  await t.page.setViewportSize({ width: 1280, height: 800 });
  ok(await montrees(t.page) === '0,1,2*', 'portable : ' + await montrees(t.page));
  return clore(t, await clore(s, echecs));
}

// On A4 paper, 150 pilots: under a header naming the contest, the list and the data's time on
// every sheet, the cup then each event.
async function papier() {
  const [echecs, ok] = releve();
  const s = await ouvrir('http://127.0.0.1:9/papier/', '#vue-journee .epreuve-journee');
  // Each page's lines under the list its header names.
  const listes = {};
  const texte = execFileSync('pdftotext', ['-layout', '-', '-'], { input: await s.page.pdf({ format: 'A4' }) });
  String(texte).split('\f').filter((p) => p.trim()).forEach((p, i) => {
    const quoi = p.match(/^Coupe des Vellor 2026 · (.+) · données du \d\d\/\d\d\/\d{4} à \d\d:\d\d:\d\d$/m)?.[1];
    ok(quoi, `page ${i + 1} sans en-tête`);
    (listes[quoi] ??= []).push(...p.split('\n').map((l) => [i, l]));
  });
  const e = ETATS.papier;
  const pilotes = e.epreuves[0].series.flatMap((s) => s.pilotes);
  const rangs = (lignes) => lignes.map((l, i) => [i + 1, l.numero, l.nom1, l.nom2, l.points]);
  const mots = (t) => t.join(' ').trim().split(/\s+/).sort().join(' ');
  const coupe = e.classementCoupe.map((l) => [l.rang.replace(' ex aequo', ''), l.numero, l.nom1, l.nom2, l.points]);
  for (const [quoi, lignes] of [['Classement de la coupe', coupe], [EPREUVES[2], rangs(e.classementEpreuve)],
    ...[0, 1].map((k) => [EPREUVES[k], rangs(e.epreuves[k].classement.map((i) => pilotes[i]))])]) {
    // Every pilot once, in order, his row's words from his name's first line to its last on one sheet.
    const vues = listes[quoi] ?? [];
    let avant = -1;
    for (const l of lignes) {
      const ou = (mot) => vues.flatMap(([, t], k) => (new RegExp(`\\b${mot}\\b`).test(t) ? [k] : []));
      const [debut, fin] = [ou(l[2]), ou(l[3].split(' ').at(-1))];
      const bloc = vues.slice(debut[0], fin[0] + 1);
      ok(debut.length === 1 && debut[0] > avant && bloc[0][0] === bloc.at(-1)[0] && mots(bloc.map((v) => v[1])) === mots(l),
        `${quoi} : ${l[2]} vu ${debut.length} fois, ${bloc.map((v) => v[0] + 1 + ' « ' + v[1].trim() + ' »')}`);
      avant = debut[0];
    }
  }
  return clore(s, echecs);
}

// The failed checks, and the check that notes one.
const releve = (echecs = []) => [echecs, (c, m) => { if (!c) echecs.push(m); }];
const visibles = (page) => page.evaluate(() =>
  Array.from(document.querySelectorAll('.vue'), (v) => v.checkVisibility() && v.dataset.vue).filter(Boolean).join());

// One view at a time on a phone, chosen by a deep link or a tab and remembered; all of them
// side by side on a laptop. Nothing moves when the device asks for reduced motion.
async function onglets() {
  const [echecs, ok] = releve();
  const s = await ouvrir('http://127.0.0.1:9/mouvement/#coupe', '#vue-tableau [data-role=contenu] > *');
  ok(await visibles(s.page) === 'coupe', 'lien #coupe : ' + await visibles(s.page));
  await s.page.click('.onglets a[data-vue=tableau]');
  await s.page.waitForFunction(() => location.hash === '#tableau', null, { timeout: DELAI });
  ok(await visibles(s.page) === 'tableau', 'onglet Tableau : ' + await visibles(s.page));
  const t = await ouvrir('http://127.0.0.1:9/mouvement/', '#vue-tableau [data-role=contenu] > *');
  ok(await visibles(t.page) === 'tableau', 'onglet retenu : ' + await visibles(t.page));
  await t.page.setViewportSize({ width: 1280, height: 800 });
  ok(await visibles(t.page) === 'series,preparation,epreuve,coupe,tableau,journee', 'portable : ' + await visibles(t.page));
  const mouvement = (p) => p.evaluate(() => {
    const n = document.querySelector('#vue-series .nom');
    n.classList.add('arrive');
    return getComputedStyle(n).animationName;
  });
  ok(await mouvement(t.page) !== 'none', 'un résultat arrivé ne se voit pas');
  await t.page.emulateMedia({ reducedMotion: 'reduce' });
  ok(await mouvement(t.page) === 'none', 'animation malgré le mouvement réduit');
  return clore(t, await clore(s, echecs));
}

// A shared link follows its pilot; a search by name (accents ignored) or number adds one.
async function suivrePilotes() {
  const [echecs, ok] = releve();
  const s = await ouvrir('http://127.0.0.1:9/mouvement/?suivre=85#coupe', '#suivis li');
  const lignes = () => s.page.$$eval('#suivis li', (l) => l.map((n) => n.textContent));
  // Pilot 85 is 8th of the cup and flies in the 5th series; the 3rd has its results, the 4th is to fly.
  ok((await lignes())[0] === '85 <img src=x onerror=alert(1)> Pirate · Coupe : 8e, 251 pts · Épreuve : 8e · ' +
    'Série n° 5, dans 1 série×', 'ligne du pilote suivi : ' + (await lignes())[0]);
  ok(await s.page.$$eval('.vues .suivi', (l) => l.length) === 6, 'pilote suivi surligné dans chaque vue');
  for (const [cherche, trouve] of [['noel', '31 NOËL Lucie'], ['97', '97 BLANC Zoé']]) {
    await s.page.fill('#recherche', cherche);
    await s.page.click(`.proposition:has-text("${trouve}")`, { timeout: DELAI });
  }
  ok((await lignes()).map((l) => l.split(' ·')[0]).join() === '85 <img src=x onerror=alert(1)> Pirate,31 NOËL Lucie,97 BLANC Zoé',
    'pilotes suivis : ' + await lignes());
  await s.page.fill('#recherche', 'a');
  ok(await s.page.$$eval('.proposition:not(:disabled)', (l) => l.length) === 0, 'un quatrième pilote peut être suivi');
  // The link is taken once: 85 dropped stays dropped after a reload, at the view it named.
  ok(s.page.url() === 'http://127.0.0.1:9/mouvement/#coupe', 'adresse après le lien : ' + s.page.url());
  await s.page.getByRole('button', { name: /^Ne plus suivre .*Pirate/ }).click();
  await s.page.reload();
  s.chargements--; // the test's own reload
  await s.page.waitForSelector('#suivis li', { state: 'attached', timeout: DELAI });
  ok((await lignes()).map((l) => l.split(' ·')[0]).join() === '31 NOËL Lucie,97 BLANC Zoé' &&
    await visibles(s.page) === 'coupe', 'après rechargement : ' + await visibles(s.page) + ', ' + await lignes());
  return clore(s, echecs);
}

// A series' life fed state by state to a page that follows 46, of the 3rd series, and 64, of
// the 4th: [series called, its flag, series with results, end of the line of 46, of 64].
const VIE = [
  [-1, false, 2, 'Série n° 3, la prochaine', 'Série n° 4, dans 1 série'],
  [2, false, 2, 'Série n° 3, en préparation', 'Série n° 4, dans 1 série'],
  [2, true, 2, 'en vol', 'Série n° 4, dans 1 série'],
  [2, false, 3, '', 'Série n° 4, la prochaine'],
  [3, false, 3, '', 'Série n° 4, en préparation'],
  [3, true, 3, '', 'en vol'],
];
// Also: the results that arrive stand out a few seconds; the data's age counts up and shows
// its age past half a minute.
async function vie() {
  const [echecs, ok] = releve();
  const s = await ouvrir('http://127.0.0.1:9/pylones/?suivre=46,64', '#suivis li');
  // The sample's stream has ended: the states below come as if it had reopened.
  await s.page.waitForFunction(() => /perdue/.test(document.getElementById('etat-connexion').textContent), null, { timeout: DELAI });
  // How many names stand out, or once none does, when.
  const enRelief = (eteints) => { const n = Array.from(document.querySelectorAll('#vue-series .nom'))
    .filter((n) => getComputedStyle(n).animationName !== 'none').length; return eteints ? n === 0 && performance.now() : n; };
  const fin = (condition, arg) => s.page.waitForFunction(condition, arg, { timeout: DELAI }).then((r) => r.jsonValue(), () => [NaN]);
  let [resultats, recu] = [];
  for (const [i, [serieCourante, serieDrapeau, vols, ...attendus]] of VIE.entries()) {
    const e = { ...exemple(2), serieCourante, serieDrapeau, tempsEcoule: `0${i}:00`, depuisTrameMs: 28000 };
    e.epreuves[2].series.forEach((serie, k) => { serie.avecResultats = k < vols; });
    recu = await s.page.evaluate(([e, premier]) => {
      const t = performance.now();
      if (premier) window.__suivi.flux.dispatchEvent(new Event('open'));
      window.__suivi.flux.dispatchEvent(new MessageEvent('etat', { data: JSON.stringify(e) }));
      const ligne = document.getElementById('etat-connexion');
      return { t, texte: ligne.textContent, couleur: getComputedStyle(ligne).color };
    }, [e, i === 0]);
    await s.page.waitForFunction((t) => document.querySelector('#vue-series [data-role=chrono] .temps').textContent === t,
      e.tempsEcoule, { timeout: DELAI });
    const vus = await s.page.$$eval('#suivis li', (l) => Object.fromEntries(l.map((n) => {
      const p = n.textContent.replace(/×$/, '').split(' · ');
      return [p[0].split(' ')[0], /^(Série|en vol)/.test(p.at(-1)) ? p.at(-1) : ''];
    })));
    ok(vus[46] === attendus[0] && vus[64] === attendus[1], `état ${i} : 46 « ${vus[46]} », 64 « ${vus[64]} »`);
    if (vols === 3 && !resultats) resultats = [recu.t, await s.page.evaluate(enRelief, false), fin(enRelief, true)];
  }
  const [vieux, couleur] = await fin(() => { const n = document.getElementById('etat-connexion');
    return parseInt(n.textContent.match(/il y a (\d+) s/)?.[1]) >= 31 && [performance.now(), getComputedStyle(n).color]; });
  ok(/il y a 28 s/.test(recu.texte) && vieux - recu.t >= 2900 && couleur !== recu.couleur,
    `âge : « ${recu.texte} » puis 31 s après ${Math.round(vieux - recu.t)} ms, couleur ${recu.couleur} puis ${couleur}`);
  const eteint = await resultats[2];
  ok(resultats[1] === 6 && eteint - resultats[0] >= 3000,
    `${resultats[1]} résultats arrivés en relief, pendant ${Math.round(eteint - resultats[0])} ms`);
  // A station that took its state back from disk says so until a sender speaks.
  await s.page.evaluate((e) => window.__suivi.flux.dispatchEvent(new MessageEvent('etat', { data: JSON.stringify(e) })),
    { ...exemple(2), depuisTrameMs: -1, reprise: '14:32:10' });
  const repris = () => document.getElementById('etat-connexion').textContent === 'État repris de 14:32:10, en attente de l\'émetteur';
  ok(await fin(repris) === true, 'reprise : ' + await s.page.textContent('#etat-connexion'));
  return clore(s, echecs);
}

// The overlays: transparent around their panel, the rows asked for.
async function incrustations() {
  const echecs = [];
  // The sample has 30 pilots: "haut=40" shows them all, each row whole on the picture. The
  // hostile one has 60: a height out of 1 to 40 is brought back into it, one not a number is 10.
  for (const [etat, vue, lignes] of [['mouvement', 'coupe&haut=3', 3], ['mouvement', 'coupe&haut=40', 30],
    ['mouvement', 'tableau', 10], ['mouvement', 'serie', 6], ['hostile', 'coupe&haut=1000', 40],
    ['hostile', 'coupe&haut=0', 1], ['hostile', 'coupe&haut=-3', 1], ['hostile', 'coupe&haut=abc', 10]]) {
    const s = await ouvrir(`http://127.0.0.1:9/${etat}/incrustation?vue=${vue}`, '.panneau', GRAND);
    const [n, bas] = await s.page.$$eval('.panneau tbody tr, .panneau li', (l) => [l.length,
      Math.max(...l.map((r) => r.getBoundingClientRect().bottom)) <= Math.min(1080, l[0]?.closest('.panneau').getBoundingClientRect().bottom)]);
    const [coin, panneau] = await alphas(s.page);
    // The title and the last column keep a broadcast graphic's margin inside the panel.
    const marge = await s.page.$eval('.panneau', (p) => { const b = p.getBoundingClientRect();
      return Math.min(...Array.from(p.querySelectorAll('.titre, .points, td:last-child, .chrono'),
        (n) => { const r = n.getBoundingClientRect(); return Math.min(r.left - b.left, b.right - r.right, r.top - b.top); })); });
    if (n !== lignes || !bas || coin !== 0 || panneau === 0 || marge < 24) {
      echecs.push(`${etat} ${vue} : ${n} lignes${bas ? '' : ' (coupées)'}, alpha ${coin} au coin, ${panneau} au panneau, ` +
        `marge ${marge} px`);
    }
    await clore(s, echecs);
  }
  return echecs;
}

// ---- Test mode: the C++ test drives the station, the page must follow it by itself. ----

async function essai() {
  // The page follows the pilot its link names; the overlay shows the series in flight.
  const s = await ouvrir(url, '#vue-series .serie');
  const o = await ouvrir(new URL('incrustation?vue=serie', url).href, '.panneau', GRAND);
  const avant = await s.page.waitForFunction(() => /, dans \d+ séries?×$/.test(document.getElementById('suivis').textContent),
    null, { timeout: DELAI / 2 }).then(() => [], async () => ['pilote suivi pas placé : ' + await s.page.textContent('#suivis')]);
  const coin = (await alphas(o.page))[0];
  const f = [...avant, ...(coin ? ['fond de l\'incrustation opaque : ' + coin] : []), ...await fautes(s), ...await fautes(o)];
  dire(f.length ? 'faute ' + f.join(' ; ') : 'prêt');
  if (f.length) return 1;
  for await (const ligne of createInterface({ input: process.stdin })) {
    if (ligne === 'coupure') { [s.coupure, o.coupure] = [true, true]; dire('coupure notée'); continue; }
    const age = ligne.match(/^age (\S+) (\d+)$/);
    if (age) { dire(await lireAge(age[1], Number(age[2]))); continue; }
    const attendus = JSON.parse(ligne.replace(/^attendre /, ''));
    // The names in the series in flight of both, and the followed pilot flying.
    const voir = async (page, selecteur, suivi) => await page.bringToFront() ?? page.waitForFunction(([a, sel, suivi]) => {
      const noms = Array.from(document.querySelectorAll(sel), (n) => n.textContent);
      return a.every((n) => noms.includes(n)) && (!suivi || /· en vol×$/.test(document.getElementById('suivis').textContent));
    }, [attendus, selecteur, suivi], { timeout: DELAI / 2 }).then(() => true, () => false);
    const vus = [await voir(s.page, '#vue-series .serie.courante .nom', true), await voir(o.page, '.pilotes .nom', false)];
    const f = [...await fautes(s), ...await fautes(o), ...(vus[0] ? [] : ['la page ne montre pas ' + attendus.join(', ') + ' en vol']),
      ...(vus[1] ? [] : ['l\'incrustation ne montre pas ' + attendus.join(', ')])];
    dire(f.length ? 'faute ' + f.join(' ; ') : 'vu');
    if (f.length) return 1;
  }
  return 0;
}

// The age a phone opened now reads: the stream may first give the stored state as new, the
// page must correct it within a few seconds.
async function lireAge(adresse, minimum) {
  const n = await ouvrir(adresse, '#vue-series .serie');
  const lu = await n.page.waitForFunction((min) => {
    const m = document.getElementById('etat-connexion').textContent.match(/il y a (?:(\d+) min )?(\d+) s$/);
    const a = m ? Number(m[1] || 0) * 60 + Number(m[2]) : NaN;
    return a >= min && a;
  }, minimum, { timeout: 5000 }).then((r) => r.jsonValue(), () => null);
  const f = await clore(n, lu ? [] : ['état : ' + await n.page.textContent('#etat-connexion')]);
  return f.length ? 'faute ' + f.join(' ; ') : 'age ' + lu;
}

// ---- Follow mode: every view against the state the station publishes. ----

// Runs in the page: the differences between the views and the state e, as texts.
function ecarts(e) {
  const diff = [];
  // Without the arrows of who moved.
  const tous = (sel) => Array.from(document.querySelectorAll(sel), (n) => {
    const c = n.cloneNode(true);
    c.querySelectorAll('.mouvement').forEach((m) => m.remove());
    return c.textContent;
  });
  const nom = (p) => String(p.nom1) + ' ' + String(p.nom2);
  // The first difference only: lists are long.
  const memes = (quoi, vus, voulus) => {
    const [v, w] = [[].concat(vus), [].concat(voulus)];
    const k = v.findIndex((x, i) => x !== w[i]);
    if (k >= 0) diff.push(`${quoi} : vu ${JSON.stringify(v[k])}, attendu ${JSON.stringify(w[k])} (rang ${k + 1})`);
    else if (v.length !== w.length) diff.push(`${quoi} : ${v.length} lignes au lieu de ${w.length}`);
  };
  const epreuve = e.epreuveEnCours;
  const series = epreuve >= 0 && epreuve < 5 ? e.epreuves[epreuve].series : [];
  const cartes = Array.from(document.querySelectorAll('#vue-series .serie'));
  memes('nombre de séries', cartes.length, series.length);
  series.forEach((s, k) => {
    memes('série ' + (k + 1), Array.from(cartes[k]?.querySelectorAll('.nom') ?? [], (n) => n.textContent),
      s.pilotes.map(nom));
    memes('série ' + (k + 1) + ' en vol', cartes[k]?.classList.contains('courante'), k === e.serieCourante);
  });
  const temps = [e.tempsEcoule || '00:00', e.tempsRestant || '00:00'];
  memes('chronomètres', tous('[data-role=chrono] .temps'), [...temps, ...temps]);
  const prep = e.preparation.trouvee === false ? [] : e.preparation.pilotes;
  memes('préparation', tous('#vue-preparation tbody tr'),
    prep.map((p, i) => [i + 1, p.numero, p.nom2 + ' ' + p.nom1, p.club].join('')));
  memes('classement de l\'épreuve', tous('#vue-classement-epreuve tbody tr'),
    e.classementEpreuve.map((l, i) => [i + 1, l.numero, nom(l), l.points].join('')));
  // A rank badge never says "ex aequo": equal ranks already do.
  memes('classement de la coupe', tous('#vue-classement-coupe .ligne-coupe'), e.classementCoupe.map((l) =>
    [String(l.rang).replace('ex aequo', '').trim(), l.points, l.numero, nom(l)].join('')));
  if (epreuve >= 1 && epreuve < 5)
    memes('tableau', tous('#vue-tableau tbody .pilote').slice(0, 10).filter((t) => t !== ''),
      e.tableauEpreuve.slice(0, 10).map(nom));
  return diff;
}

// Compares the views with a fresh /etat.json once the page has received that state and drawn
// it. A page already further on is asked again; one that never gets there is a gap.
async function controler(page, verification = '__ecarts') {
  // A page behind another one draws at a crawl: the one checked comes to the front.
  await page.bringToFront();
  for (let essai = 1; ; essai++) {
    const e = await page.evaluate(async () => (await fetch('etat.json', { cache: 'no-store' })).json());
    const recu = await page.waitForFunction((n) => window.__suivi.sequence >= n, e.sequence, { timeout: 10000 })
      .then(() => true, () => false);
    if (!recu) return { diff: ['état ' + e.sequence + ' jamais reçu par le flux'] };
    const r = await page.evaluate(async ([e, v]) => {
      await new Promise((fin) => requestAnimationFrame(() => requestAnimationFrame(fin)));
      return { diff: window[v](e), stable: window.__suivi.sequence === e.sequence, sequence: e.sequence };
    }, [e, verification]);
    if (r.diff.length === 0 || r.stable || essai === 10) return r;
  }
}

// Runs in the overlay: its pilots against the series in flight of the state e.
function ecartsIncrustation(e) {
  const serie = e.epreuves[e.epreuveEnCours]?.series[e.serieCourante];
  const vus = Array.from(document.querySelectorAll('.pilotes .nom'), (n) => n.textContent).join(', ');
  const voulus = (serie?.pilotes ?? []).map((p) => p.nom1 + ' ' + p.nom2).join(', ');
  return vus === voulus ? [] : [`incrustation : vu ${vus}, attendu ${voulus}`];
}

async function suivre() {
  const s = await ouvrir(url, '#vue-series .serie');
  const o = reste.includes('--incrustation') ? await ouvrir(new URL('incrustation?vue=serie', url).href, '.panneau', GRAND) : null;
  const [duree, captures, debut] = [Number(option('--duree', '60')), option('--captures', ''), Date.now()];
  let [controles, nbEcarts, sequence, immobile] = [0, 0, -1, 0];
  const ecart = (texte) => { nbEcarts++; console.error('écart : ' + texte); };
  while (Date.now() - debut < duree * 1000) {
    const r = await controler(s.page);
    controles++;
    if (o) r.diff.push(...(await controler(o.page, '__ecartsIncrustation')).diff);
    if (r.diff.length) ecart(r.diff.join(' ; '));
    // The simulator changes the contest every second: a still state is a stalled page.
    else if (r.sequence <= sequence && ++immobile >= 3) ecart('séquence immobile à ' + sequence);
    else if (r.sequence > sequence) [immobile, sequence] = [0, r.sequence];
    // The README's pictures, drawn by a tool of their own once the page shows the contest.
    if (captures && controles === Math.max(1, Math.floor(duree / 4))) {
      const { capturer } = await import('../../tools/captures/page.mjs');
      await capturer({ page: s.page, dossier: captures, ouvrir, contexte, delai: DELAI, taille: GRAND });
    }
    await attendre(2000);
  }
  (await fautes(s)).forEach(ecart);
  if (o) (await fautes(o)).forEach(ecart);
  dire(`suivi ${Math.round((Date.now() - debut) / 1000)} s : ${controles} contrôles, ${nbEcarts} écarts`);
  return nbEcarts === 0 ? 0 : 1;
}

// Each mode gives the exit code; standard input may still be open.
const code = await { vues, essai, suivre }[mode]();
await navigateur.close().catch(() => {});
process.exit(code);
