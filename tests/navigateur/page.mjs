// The station's results page in Chromium at a phone's size, as a spectator sees it.
//
//   node page.mjs vues
//     The page's own files (those web/page/page.qrc lists) on sample states, without a
//     server, with the station's security policy: the checks of VUES below, view by view.
//     Prints each page's failed checks and exits 1 on any.
//   node page.mjs essai URL
//     Prints "prêt" once the page places the pilot its link follows, then obeys its standard
//     input, one command a line (the station may go away meanwhile: failed loads are expected):
//       attendre NOM<tab>NOM...  prints "vu" once the series in flight shows each name as a
//                                pilot's (in its view and the announcer's), the followed pilot
//                                flying, or "faute <raison>";
//       age URL S                a new phone opens URL S s after the last datagram: prints
//                                "vu" once its status line reads that age, or "faute <raison>".
//   node page.mjs suivre URL [--duree S] [--captures DOSSIER] [--incrustation]
//     Every 2 s compares each view with /etat.json fetched from the page (and the series
//     overlay's pilots with the series in flight, with --incrustation); prints
//     "suivi N s : K contrôles, E écarts" and exits 1 on any gap. --captures writes the
//     README's two phone screenshots there.
// In every mode a reload, dialog, script error, console error or CSP violation is a fault.
// Accessibility is measured by axe-core: a violation of serious or critical impact fails,
// the moderate ones are printed.
import { chromium } from 'playwright-core';
import { createInterface } from 'node:readline';
import { readFileSync } from 'node:fs';
import { execFileSync } from 'node:child_process';

const [mode, url, ...reste] = process.argv.slice(2);
if (!(mode === 'vues' || (['essai', 'suivre'].includes(mode) && url))) {
  console.error('usage : page.mjs vues | essai URL | suivre URL [--duree S] [--captures DOSSIER] [--incrustation]');
  process.exit(2);
}
// A cold browser on a busy machine takes its time: bounds are generous, never retried.
const DELAI = 60000;

// Runs in every page before its own script: records CSP violations, keeps the event stream
// (to feed it states one at a time) and the sequence of the last state it brought; then
// gives the checks what they read there (lire) and the differences between the views and a
// state (ecarts).
function outils() {
  window.__violations = [];
  document.addEventListener('securitypolicyviolation', (e) => window.__violations.push(`${e.violatedDirective} ${e.blockedURI}`));
  // The screen kept awake, as the page asks for it and lets it go.
  window.__veille = [];
  Object.defineProperty(navigator, 'wakeLock', { configurable: true, value: { request: async () => {
    const v = new EventTarget();
    v.release = async () => { window.__veille.push('rendu'); };
    window.__veille.push('pris');
    return v;
  } } });
  window.EventSource = class extends window.EventSource { constructor(...a) { super(...a); window.__flux = this;
    this.addEventListener('etat', (ev) => { window.__sequence = JSON.parse(ev.data).sequence; }); } };
  const tous = (sel, racine = document) => Array.from(racine.querySelectorAll(sel));
  const rgb = (c) => c.match(/[\d.]+/g).map(Number);
  const lum = (c) => c.slice(0, 3).map((v) => (v /= 255) <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4)
    .reduce((t, v, i) => t + v * [0.2126, 0.7152, 0.0722][i], 0);
  // What lies under a text: each background laid by its alpha on those under it, down to the
  // first opaque one or the page's black.
  const fond = (n, [r, g, b, a = 1] = rgb(getComputedStyle(n).backgroundColor)) => (a === 1 || !n.parentElement
    ? [r * a, g * a, b * a] : fond(n.parentElement).map((v, i) => [r, g, b][i] * a + v * (1 - a)));
  const lire = window.lire = {
    tous,
    // Without the arrows of who moved.
    textes: (sel, racine) => tous(sel, racine).map((n) => tous('.mouvement', n).reduce((t, m) => t.replace(m.textContent, ''),
      n.textContent)),
    texte: (sel) => lire.textes(sel).join('\n'),
    // Colours as a viewer names them.
    teintes: (sel) => tous(sel).map((n) => rgb(getComputedStyle(n).color)).map(([r, g]) => g > r + 64 ? 'vert' : r > g + 64 ? 'rouge' : 'neutre'),
    // The views that show, or the day's events as their slots, * when marked in flight.
    visibles: (sel = '.vue') => tous(sel).filter((n) => n.checkVisibility())
      .map((n) => n.dataset.vue ?? n.dataset.epreuve + (n.matches('.en-cours[aria-current]') ? '*' : '')).join(),
    suivis: () => lire.textes('#suivis li').map((l) => l.split(' ·')[0]),
    // What a reader meets in the page's language (not the switch, marked as the other's): each
    // visible element's own texts, its title, label and placeholder.
    lus: () => tous('body *').filter((n) => n.checkVisibility() && n.closest('[lang]') === document.documentElement)
      .flatMap((n) => [...n.childNodes]
      .filter((c) => c.nodeType === 3).map((c) => c.textContent).concat(['title', 'aria-label', 'placeholder']
        .map((a) => n.getAttribute(a) ?? ''))).map((t) => t.trim()).filter(Boolean),
    enRelief: () => tous('#vue-series .nom').filter((n) => getComputedStyle(n).animationName !== 'none').length,
    // A name marked as a result that just arrived: its animation.
    arrivee: (n = document.querySelector('#vue-series .nom')) => (n.classList.add('arrive'), getComputedStyle(n).animationName),
    // Every text shown keeps a contrast of 4.5:1 against what lies under it, and nothing runs
    // past the screen's width; an overlay's picture is the stream's.
    defauts: () => (document.getElementById('incrustation') ? [] : [...tous('body *').flatMap((n) => {
      if (!n.checkVisibility() || ![...n.childNodes].some((c) => c.nodeType === 3 && c.textContent.trim())) return [];
      const c = [lum(rgb(getComputedStyle(n).color)), lum(fond(n))].sort((x, y) => y - x).reduce((a, b) => (a + 0.05) / (b + 0.05));
      return c >= 4.5 ? [] : [`contraste ${c.toFixed(1)} : « ${n.textContent.slice(0, 30)} »`];
    }), ...[document.documentElement, ...tous('section')].filter((n) => n.scrollWidth > n.clientWidth)
      .map((n) => `débordement de ${n.id || 'la page'} : ${n.scrollWidth} > ${n.clientWidth}`)]),
  };
  // The views (or the series overlay) against the state e, the first difference of each list;
  // a broken state has nothing to match.
  window.ecarts = (e) => {
    if (!Array.isArray(e.epreuves)) return [];
    const nom = (p) => String(p.nom1) + ' ' + String(p.nom2);
    const series = e.epreuves[e.epreuveEnCours]?.series ?? [];
    const temps = [e.tempsEcoule || '00:00', e.tempsRestant || '00:00'];
    // What the page says in its language: "Série n° 3" or "Series 3", "1er" or "1st", "5e ex aequo" or "5th tied".
    const m = document.documentElement.lang === 'en' ? { serie: 'Series ', enVol: ' (in flight)', reussi: ' (succeeded)',
      echoue: ' (failed)', egal: 'tied', ecart: (d) => `${d} pts behind`, ord: (n) => ['th', 'st', 'nd', 'rd'][n % 100 - n % 10 === 10 ? 0 : n % 10] ?? 'th' }
      : { serie: 'Série n° ', enVol: ' (en vol)', reussi: ' (réussi)', echoue: ' (échoué)', egal: 'ex aequo', ecart: (d) => `à ${d} pts`,
        ord: (n) => (n === 1 ? 'er' : 'e') };
    const ordinal = (n) => (/^\d+$/.test(n) && +n >= 1 ? n + m.ord(+n) : n);
    const rangDit = (r) => ordinal(String(r).replace('ex aequo', '').trim()) + (String(r).includes('ex aequo') ? ' ' + m.egal : '');
    const coupe = (n) => e.classementCoupe.find((l) => String(l.numero) === String(n));
    const place = (n) => e.classementEpreuve.findIndex((l) => String(l.numero) === String(n)) + 1;
    const ecart = (i, d = Math.round((e.classementCoupe[i - 1]?.points - e.classementCoupe[i].points) * 100) / 100) =>
      (i && d >= 0 ? (d ? m.ecart(d) : m.egal) : '');
    // Each list's texts (a screen reader's included); a rank badge never says "ex aequo":
    // equal ranks already do. The series overlay shows its pilots, the others nothing of that.
    const serie = [['incrustation', '.pilotes .nom', series[e.serieCourante]?.pilotes ?? [], (p) => [nom(p)]]];
    return (document.getElementById('incrustation') ? (document.body.matches('.vue-serie') ? serie : []) : [
      ['chronomètres', '[data-role=chrono] .temps', [...temps, ...temps, ...temps], (t) => [t]],
      ['séries', '#vue-series .serie', series, (s, k) => [m.serie + (k + 1) + (k === e.serieCourante ? m.enVol : ''),
        ...s.pilotes.map((p) => p.numero + nom(p) + (s.avecResultats !== true ? '' : p.reussi === true ? m.reussi : m.echoue))]],
      ['préparation', '#vue-preparation tbody tr', e.preparation.trouvee === false ? [] : e.preparation.pilotes,
        (p, i) => [i + 1, p.numero, p.nom2 + ' ' + p.nom1, p.club]],
      ['classement de l\'épreuve', '#vue-classement-epreuve tbody tr', e.classementEpreuve, (l, i) => [i + 1, l.numero, nom(l), l.points]],
      ['classement de la coupe', '#vue-classement-coupe .ligne-coupe', e.classementCoupe,
        (l) => [String(l.rang).replace('ex aequo', '').trim(), l.points, l.numero, nom(l)]],
      ['annonceur, en vol', '#vue-annonceur .en-vol tbody tr', series[e.serieCourante]?.pilotes ?? [], (p) => [p.numero, nom(p),
        p.club ?? '', coupe(p.numero) ? rangDit(coupe(p.numero).rang) : '', coupe(p.numero)?.points ?? '', ordinal(String(place(p.numero) || ''))]],
      ['annonceur, tête de la coupe', '#vue-annonceur .leaders tbody tr', e.classementCoupe.slice(0, 5),
        (l, i) => [rangDit(l.rang), l.numero, ' ', nom(l), l.points, ecart(i)]],
      ['tableau', '#vue-tableau tr:has(.vole, .attend) .pilote',
        e.epreuveEnCours >= 1 && e.epreuves[e.epreuveEnCours] ? e.tableauEpreuve.slice(0, 10) : [], (l) => [nom(l)]],
    ]).flatMap(([quoi, sel, lignes, textes]) => {
      const [v, w] = [lire.textes(sel), lignes.map((l, i) => textes(l, i).join(''))];
      const k = v.findIndex((x, i) => x !== w[i]);
      return k >= 0 ? [`${quoi} : vu ${JSON.stringify(v[k])}, attendu ${JSON.stringify(w[k])} (rang ${k + 1})`]
        : v.length !== w.length ? [`${quoi} : ${v.length} lignes au lieu de ${w.length}`] : [];
    });
  };
}

const navigateur = await chromium.launch({
  executablePath: process.env.VELLOR_CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--no-first-run',
    '--disable-component-update', '--disable-sync'],
});
// Phones set to French, one set to English for the pages whose state is named "anglais", and
// one whose clock the test moves on.
const [contexte, contexteAnglais, contexteHorloge] = await Promise.all(['fr-FR', 'en-US', 'fr-FR'].map(async (locale) => {
  const c = await navigateur.newContext({ viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true,
    deviceScaleFactor: 2, locale });
  await c.addInitScript({ content: `(${outils})();` });
  return c;
}));
await contexteHorloge.clock.install();

// Once the page drew its views, or the overlay its panel.
const dessinee = (page) => page.waitForSelector(/incrustation/.test(page.url()) ? '.panneau' : '.vue [data-role=contenu] > *',
  { state: 'attached', timeout: DELAI });

// A page open on the address once it drew, noting the faults it shows; an overlay is a
// 1920 x 1080 picture.
async function ouvrir(adresse, coupures = false) {
  const page = await (/\/anglais\//.test(adresse) ? contexteAnglais : contexte).newPage();
  if (/incrustation/.test(adresse)) await page.setViewportSize({ width: 1920, height: 1080 });
  const s = { page, fautes: [], chargements: 0 };
  page.on('dialog', (d) => { s.fautes.push('dialogue : ' + d.message()); d.dismiss().catch(() => {}); });
  page.on('pageerror', (e) => s.fautes.push('erreur de script : ' + e.message));
  // While the station is down, the browser reports each failed reconnection.
  page.on('console', (m) => m.type() === 'error' && !(coupures && /net::ERR_|Failed to load/.test(m.text()))
    && s.fautes.push('erreur console : ' + m.text() + ' (' + m.location().url + ')'));
  page.on('load', () => s.chargements++);
  await page.goto(adresse, { timeout: DELAI });
  await dessinee(page).catch(() => s.fautes.push(`rien de dessiné en ${DELAI / 1000} s`));
  return s;
}
const fautes = async (s) => [...s.fautes, ...(await s.page.evaluate(() => window.__violations)).map((v) => 'violation CSP : ' + v),
  ...(s.chargements === 1 ? [] : ['page rechargée (' + s.chargements + ' chargements)'])];
// The failed checks with the page's faults, once it is closed.
const clore = async (s, echecs) => { echecs.push(...await fautes(s)); await s.page.close(); return echecs; };

// A check [what, reading run in the page, the value it must give (a RegExp: a text it must
// match)]: its failure if any. With `delai`, the page comes to the front and the reading is
// done again at each frame it draws, until the value comes or time runs out.
async function verifier(page, [quoi, lecture, attendu], delai = 0) {
  const test = attendu instanceof RegExp ? `${attendu}.test(v)` : `JSON.stringify(v) === ${JSON.stringify(JSON.stringify(attendu))}`;
  const lire = () => page.evaluate(`(async () => { const v = await (${lecture})(); return [${test}, v]; })()`)
    .catch((e) => [false, 'erreur : ' + e.message]);
  const fin = Date.now() + delai;
  if (delai) await page.bringToFront();
  let [bon, vu] = await lire();
  while (!bon && Date.now() < fin) [bon, vu] = await page.evaluate(() => new Promise((r) => requestAnimationFrame(r))).then(lire);
  const voulu = attendu instanceof RegExp ? ' ne suit pas ' + attendu : ', attendu ' + JSON.stringify(attendu).slice(0, 400);
  return bon ? [] : [`${quoi} : ${String(JSON.stringify(vu)).slice(0, 400)}${voulu}`];
}

// ---- Sample states: the page's own files, no station. ----

const fichier = (nom) => readFileSync(new URL('../../' + nom, import.meta.url));

const EPREUVES = ['Jugement esthétique', 'Cassé de baguettes', 'Pylône racing', 'Chasse au renard', 'Limbo'];
const CLUBS = ['Aéroclub du Val de Loire', 'Les Ailes du Berry', 'Cercle aérien de Bourges', 'Les Faucons de Vierzon', 'Aéroclub de Sologne'];
// Thirty pilots, six a series; the long ones and the markup one test what a phone shows.
const NOMS = ('MARTIN/Julie,CHARPENTIER/Inès,MOREL/Émilie,JOLY/Laurent,MEYER/Pierre,POIRIER/Noémie,BRETON/Bastien,' +
  'NOËL/Lucie,COLIN/Frédéric,MORIN/Antoine,PERRIN/Mathieu,COUSIN/Céline,DESCHAMPS/Claire,HUET/Guillaume,LE GALL/Benoît,' +
  'LAMBERT/Frédéric,WOLFESCHLEGELSTEINHAUSENBERGERDORFF/Hubert,VIDAL/Julien,DUFOUR/Isabelle,PETIT/Frédéric,LEFÈBVRE/Cédric,' +
  'LECOMTE/Pauline,POIRIER/Camille,RENARD/Léa,DE LA ROCHEFOUCAULD-MONTBRISON/Marie-Charlotte,<img src=x onerror=alert(1)>/Pirate,' +
  'GARNIER/Hugo,ROUSSEAU/Chloé,FAURE/Yann,BLANC/Zoé').split(',').map((n) => n.split('/'));

function exemple(epreuve, noms = NOMS) {
  const pilotes = noms.map(([nom1, nom2], i) =>
    ({ numero: 10 + 3 * i, points: (i * 37) % 120, club: CLUBS[i % 5], nom1, nom2, reussi: i % 3 !== 0 }));
  const series = Array.from({ length: noms.length / 6 }, (_, k) => ({ avecResultats: k < 2, pilotes: pilotes.slice(6 * k, 6 * k + 6) }));
  const classes = [...pilotes].sort((a, b) => b.points - a.points || a.nom1.localeCompare(b.nom1));
  // The first six have flown; a score not yet flown is "0".
  const vol = (i, v) => (i < 6 ? String(v) : '0');
  return {
    format: 1, sequence: 42, depuisTrameMs: 120, titreCoupe: 'Coupe des Vellor 2026',
    epreuveEnCours: epreuve, serieCourante: 2, tempsEcoule: '05:12', tempsRestant: '02:48',
    epreuves: EPREUVES.map((nom, e) => ({ nom, series: e === epreuve ? series : [] })),
    preparation: { trouvee: true, titre: EPREUVES[epreuve] + ' - Série n° 4', pilotes: series[3].pilotes },
    classementEpreuve: classes,
    classementCoupe: classes.map((p, i) => ({ ...p, rang: String(i + 1) + (i === 4 || i === 5 ? ' ex aequo' : ''), points: 300 - 7 * i })),
    tableauEpreuve: classes.slice(0, 12).map((p, i) => ({ ...p, numero: String(p.numero), drapeauNumero: vol(i, 1),
      looping: String(i % 4), limbo: String(i % 3), pylones: vol(i, 90 - 10 * i), touchAndGo: vol(i, 20), total: vol(i, 110 - 10 * i) })),
  };
}
const modifie = (e, f) => { f(e); return e; };
// The day: events 0 and 1 over with the series of 2, in flight; their classifications in an
// order the page must follow as sent (not by points).
const journee = (noms, n = noms.length) => modifie(exemple(2, noms), (e) => [0, 1].forEach((k) => {
  e.epreuves[k] = { nom: EPREUVES[k], series: e.epreuves[2].series.map((s) => ({ ...s, avecResultats: true })),
    classement: Array.from({ length: n }, (_, i) => (k ? n - 1 - i : (i * 7) % n)) };
}));
// The classifications of the day's events 0, 1 and 2 (in flight), as the station sent them.
const classements = (e) => [0, 1].map((k) => e.epreuves[k].classement.map((i) => e.epreuves[0].series.flatMap((s) => s.pilotes)[i]))
  .concat([e.classementEpreuve]);
const ETATS = {
  pylones: exemple(2), limbo: exemple(4), jugement: exemple(0), journee: journee(NOMS),
  // 150 pilots for paper, one in three with a name of several lines: a row a sheet might split.
  papier: journee(Array.from({ length: 150 }, (_, i) => [`NOM${i}`, (i % 3 ? 'Jean ' : 'Apolline '.repeat(40)) + `FIN${i}`])),
  // Then the 6th of the cup climbs to 4th, the series in flight gets its results.
  mouvement: [exemple(2), modifie(exemple(2), (e) => {
    e.classementCoupe.splice(3, 0, e.classementCoupe.splice(5, 1)[0]);
    e.classementCoupe.forEach((l, i) => { l.rang = String(i + 1); });
    e.epreuves[2].series[2].avecResultats = true;
  })],
  // Values no sender means, in well-formed rows: 60 cup rows, ranks and points negative or huge, empty names.
  hostile: modifie(exemple(2), (e) => {
    const bizarres = [{ rang: '-3', points: -40 }, { rang: '99999999999999', points: 1e15 }, { nom1: '', nom2: '' }, {}];
    e.classementCoupe = Array.from({ length: 60 }, (_, i) => ({ ...e.classementCoupe[i % 30], ...bizarres[i % 4] }));
    e.classementEpreuve = e.classementEpreuve.map((l, i) => ({ ...l, ...bizarres[i % 4] }));
    e.epreuves[2].series[1].pilotes.forEach((p, i) => Object.assign(p, bizarres[i % 4]));
  }),
  // Sent by an English-speaking contest: no word of it that the page's French could say.
  anglais: modifie(exemple(2), (e) => {
    e.titreCoupe = 'Vellor Trophy 2026';
    e.epreuves.forEach((ep, k) => { ep.nom = 'Event ' + 'ABCDE'[k]; });
    e.preparation.titre = 'Heat 4';
  }),
  horsEpreuves: modifie(exemple(2), (e) => { e.epreuveEnCours = 5; }),
  casse: { format: 1, epreuveEnCours: '2', depuisTrameMs: 'x', epreuves: 'x', preparation: 5,
    classementEpreuve: { a: 1 }, classementCoupe: [null, 3, { rang: 7, nom1: { x: 1 } }], tableauEpreuve: [null], titreCoupe: ['x'] },
};

// ---- The views on the sample states, view by view. ----

// The page's texts per language, as its own modules give them; the French pieces (between the
// values put in) that English never uses, to be found nowhere on an English page.
const [FR, EN] = await Promise.all(['fr', 'en'].map(async (l) =>
  (await import('data:text/javascript,' + encodeURIComponent(fichier(`web/page/textes/${l}.js`)))).default.textes));
const morceaux = (t) => new Set(Object.values(t).flatMap((v) => (typeof v === 'object' ? Object.values(v) : [v]))
  .flatMap((v) => v.split(/\{\w+\}|\n/)).map((v) => v.trim()).filter((v) => /\p{L}{3}/u.test(v)));
const FRANCAIS = [...morceaux(FR)].filter((v) => !morceaux(EN).has(v));
const sansFrancais = ['aucun texte français', `() => lire.lus().filter((t) => ${JSON.stringify(FRANCAIS)}.some((f) => t.includes(f)))`, []];

// axe-core in the page (evaluated, as the station's policy forbids an added script): serious
// and critical violations fail, moderate ones are printed.
const AXE = String(readFileSync(new URL('./node_modules/axe-core/axe.min.js', import.meta.url)));
const accessible = async (p) => {
  if (!await p.evaluate(() => typeof axe === 'object')) await p.evaluate(AXE);
  const { violations } = await p.evaluate(() => axe.run(document, { resultTypes: ['violations'] }));
  const dire = (v) => `axe ${v.impact} ${v.id} : ${v.nodes.slice(0, 3).map((n) => n.target.join(' ')).join(', ')}`;
  violations.filter((v) => !['serious', 'critical'].includes(v.impact)).forEach((v) => console.log('  ' + dire(v)));
  return violations.filter((v) => ['serious', 'critical'].includes(v.impact)).map(dire);
};
// Each tab in turn, as a finger chooses it: the steps on each, named by its tab.
const parOnglet = (...pas) => async (p, s) => {
  const echecs = [];
  for (const vue of await p.evaluate(() => lire.tous('.onglets a').map((a) => a.dataset.vue))) {
    await p.click(`.onglets a[data-vue=${vue}]`);
    for (const x of pas) echecs.push(...(await (Array.isArray(x) ? verifier(p, x, DELAI) : x(p, s))).map((e) => `${vue} · ${e}`));
  }
  return echecs;
};
const taille = (width, height) => (p) => p.setViewportSize({ width, height });
// The announcer's sample: the 6th of the cup climbed to 4th, the third series has its results.
const [AVANT, APRES] = ETATS.mouvement;
const fleche = (n) => ((d) => (d ? (d > 0 ? '▲' : '▼') + Math.abs(d) : ''))(
  AVANT.classementCoupe.findIndex((l) => l.numero === n) - APRES.classementCoupe.findIndex((l) => l.numero === n));

// The 6th climbs to 4th: the cup's arrows, which last a minute, not a few seconds, not more:
// seen on a phone of its own whose clock the test moves on.
const FLECHES = ['flèches', () => lire.textes('#vue-classement-coupe tbody span.mouvement').slice(0, 6), ['', '', '', '▲2', '▼1', '▼1']];
const uneMinute = async (p) => {
  const q = await contexteHorloge.newPage();
  await q.goto(p.url());
  await dessinee(q);
  const echecs = await verifier(q, FLECHES, DELAI);
  await q.clock.fastForward(55000);
  echecs.push(...await verifier(q, [FLECHES[0] + ' après 55 s', FLECHES[1], FLECHES[2]], DELAI));
  await q.clock.fastForward(10000);
  echecs.push(...await verifier(q, [FLECHES[0] + ' après 65 s', FLECHES[1], Array(6).fill('')], DELAI));
  await q.close();
  return echecs;
};

// The test's own navigation, not the page's: to the address, or again.
const recharger = (adresse) => async (p, s) => {
  s.chargements--;
  await (adresse ? p.goto(new URL('/' + adresse, p.url()).href) : p.reload());
  await dessinee(p);
};
// The band's switch to the other language: the page loads again in it.
const basculer = async (p, s) => {
  s.chargements--;
  await Promise.all([p.waitForEvent('load'), p.click('#langue')]);
  await dessinee(p);
};
const chercher = (texte, choisi) => async (p) => {
  await p.fill('#recherche', texte);
  if (choisi) await p.click(`.proposition:has-text("${choisi}")`, { timeout: DELAI });
};

// A series' life, fed state by state to a page that follows 46, of the 3rd series, and 64, of
// the 4th: [series called, its flag, series with results, end of the line of 46, of 64].
const VIE = [
  [-1, false, 2, 'Série n° 3, la prochaine', 'Série n° 4, dans 1 série'],
  [2, false, 2, 'Série n° 3, en préparation', 'Série n° 4, dans 1 série'], [2, true, 2, 'en vol', 'Série n° 4, dans 1 série'],
  [2, false, 3, '', 'Série n° 4, la prochaine'], [3, false, 3, '', 'Série n° 4, en préparation'], [3, true, 3, '', 'en vol']];
// Its i-th state as the stream's next event (the first after the stream reopened), once drawn;
// when it came and the status line then stay in the page.
const nourrir = (i, [serieCourante, serieDrapeau, vols], autres = {}) => async (p) => {
  const e = { ...exemple(2), serieCourante, serieDrapeau, tempsEcoule: `0${i}:00`, depuisTrameMs: 28000, ...autres };
  e.epreuves[2].series.forEach((serie, k) => { serie.avecResultats = k < vols; });
  await p.evaluate(([e, i]) => {
    const [t, ligne] = [performance.now(), document.getElementById('etat-connexion')];
    if (i === 0) window.__flux.dispatchEvent(new Event('open'));
    window.__flux.dispatchEvent(new MessageEvent('etat', { data: JSON.stringify(e) }));
    window.__recu = { t, texte: ligne.textContent, couleur: getComputedStyle(ligne).color };
  }, [e, i]);
  await p.waitForFunction((t) => lire.textes('#vue-series [data-role=chrono] .temps')[0] === t, e.tempsEcoule, { timeout: DELAI });
};
// Where each followed pilot's next series stands, at the end of his line.
const FINS = () => lire.textes('#suivis li').map((l) => l.replace(/×$/, '').split(' · ').at(-1))
  .map((t) => (/^(Série|en vol)/.test(t) ? t : ''));
// Once the results that arrived no longer stand out: whether 3 s went by since their state.
const ETEINTS = () => (window.__eteint ??= lire.enRelief() ? undefined : performance.now()) - window.__recu.t >= 3000;
// Once the data is past 30 s old: the status line as the state came, whether 3 s went by, whether its colour changed.
const VIEUX = () => (window.__vieux ??= parseInt(lire.texte('#etat-connexion').match(/il y a (\d+) s/)?.[1]) >= 31 ? [window.__recu.texte,
  performance.now() - window.__recu.t >= 2900, getComputedStyle(document.getElementById('etat-connexion')).color !== window.__recu.couleur]
  : undefined) ?? null;
// Then the results that arrive stand out a few seconds; the data's age counts up and shows
// its age past half a minute; a station that took its state back from disk says so.
const VIE_ETAPES = [
  // The sample's stream has ended: the states below come as if it had reopened.
  ['flux fermé, dit en rouge', () => lire.teintes('#etat-connexion') + ' ' + lire.texte('#etat-connexion'), /^rouge Connexion perdue/, true],
  ...VIE.flatMap((etat, i) => [nourrir(i, etat), [`état ${i} : fin des lignes de 46 et 64`, FINS, etat.slice(3)],
    ...(i === 3 ? [['résultats arrivés en relief', () => lire.enRelief(), 6], ['en relief 3 s au moins', ETEINTS, true, true]] : [])]),
  ['âge', VIEUX, ['Données reçues il y a 28 s', true, true], true],
  nourrir(6, [2, false, 2], { depuisTrameMs: -1, reprise: '14:32:10' }),
  ['reprise', () => lire.texte('#etat-connexion'), 'État repris de 14:32:10, en attente de l\'émetteur', true],
];

// On A4 paper, 150 pilots: under a header naming the contest, the list and the data's time on
// every sheet, the cup then each event, each pilot once, in order, his row whole on one sheet.
async function papier(p) {
  const listes = {}; // each list's lines, as [sheet, line]
  const texte = String(execFileSync('pdftotext', ['-layout', '-', '-'], { input: await p.pdf({ format: 'A4' }) }));
  const echecs = texte.split('\f').filter((t) => t.trim()).flatMap((t, i) => {
    const quoi = t.match(/^Coupe des Vellor 2026 · (.+) · données du \d\d\/\d\d\/\d{4} à \d\d:\d\d:\d\d$/m)?.[1];
    (listes[quoi] ??= []).push(...t.split('\n').map((l) => [i, l]));
    return quoi ? [] : [`page ${i + 1} sans en-tête`];
  });
  const mots = (t) => t.join(' ').trim().split(/\s+/).sort().join(' ');
  const lignes = (l, rang) => l.map((p, i) => [rang(p, i), p.numero, p.nom1, p.nom2, p.points]);
  for (const [quoi, rangs] of [['Classement de la coupe', lignes(ETATS.papier.classementCoupe, (p) => p.rang.replace(' ex aequo', ''))],
    ...classements(ETATS.papier).map((l, k) => [EPREUVES[k], lignes(l, (p, i) => i + 1)])]) {
    const vues = listes[quoi] ?? [];
    let avant = -1;
    for (const l of rangs) {
      // His row's words, from his name's first line to its last, on one sheet.
      const ou = (mot) => vues.flatMap(([, t], k) => (new RegExp(`\\b${mot}\\b`).test(t) ? [k] : []));
      const [debut, fin] = [ou(l[2]), ou(l[3].split(' ').at(-1))];
      const bloc = vues.slice(debut[0], fin[0] + 1);
      if (!(debut.length === 1 && debut[0] > avant && bloc[0][0] === bloc.at(-1)[0] && mots(bloc.map((v) => v[1])) === mots(l)))
        echecs.push(`${quoi} : ${l[2]} vu ${debut.length} fois, ${bloc.map((v) => v[0] + 1 + ' « ' + v[1].trim() + ' »')}`);
      avant = debut[0];
    }
  }
  return echecs;
}

// [address, whose first part names the state served; steps...]. A step is a check
// (see verifier; a fourth item true waits for it), or an action (page, session) => ... that
// gives its failures if any. A page opens once per address, its steps in this order, and
// first shows every view (or overlay) as its state says, legible, within the screen's width.
const DEFAUTS = ['selon l\'état, lisibles, dans l\'écran',
  async () => [...ecarts(await (await fetch('etat.json')).json()), ...lire.defauts()], []];
const VUES = {
  series: [
    ['pylones/',
      ['la troisième en vol, seule marquée, un lien vers elle', () => [lire.tous('#vue-series .serie').map((n, _, t) =>
        getComputedStyle(n).borderTopColor !== getComputedStyle(t[0]).borderTopColor),
      lire.tous('#vue-series .serie').indexOf(document.querySelector(document.querySelector('.aller-en-vol').hash))],
      [[false, false, true, false, false], 2]],
      // Pilots 1 and 4 of the first series failed; the series in flight has no results yet.
      ['couleurs des résultats', () => [1, 3].map((k) => lire.teintes(`#vue-series .serie:nth-child(${k}) .nom`)),
        [['rouge', 'vert', 'vert', 'rouge', 'vert', 'vert'], Array(6).fill('neutre')]]],
    // An event index outside the five: no event in flight, not an event without series.
    ['horsEpreuves/', ['indice hors des cinq', () => lire.texte('#vue-series .contenu'), 'Aucune épreuve en cours']],
    // A broken state: nothing in flight, the cup's three rows.
    ['casse/', ['état cassé', () => [lire.texte('#vue-series .contenu'), lire.tous('#vue-classement-coupe .ligne-coupe').length],
      ['Aucune épreuve en cours', 3]]],
    // Values no sender means: what every page must be.
    ['hostile/']],
  preparation: [['pylones/', ['sous-titre', () => lire.texte('#vue-preparation .sous-titre'), 'Pylône racing - Série n° 4']]],
  // The 6th climbs to 4th.
  coupe: [['mouvement/', FLECHES, uneMinute]],
  tableau: [
    ['pylones/',
      ['en-têtes, dix rangs', () => [lire.textes('#vue-tableau th'), lire.tous('#vue-tableau tbody tr').length],
        [['Pos.', 'Pilote', 'Vellor', 'Touchand Go', 'Pylônes', 'Totalpoints'], 10]],
      ['qui a volé en vert, qui attend en rouge', () => lire.teintes('#vue-tableau tbody .numero'),
        [...Array(6).fill('vert'), ...Array(4).fill('rouge')]],
      ['scores, un « 0 » laissé vide', () => [1, 7].map((k) => lire.textes(`#vue-tableau tr:nth-child(${k}) :is(.touch, .epreuve, .total)`)),
        [['20', '90', '110'], ['', '', '']]]],
    ['limbo/', ['en vol / looping', () => [...lire.textes('#vue-tableau th.col-epreuve'), ...lire.textes('#vue-tableau .epreuve').slice(0, 4)],
      ['Limbo envol / looping', '', '1 / 1', '2 / 2', '0 / 3']]],
    ['jugement/', ['aucun pour la première épreuve', () => lire.texte('#vue-tableau .contenu'), 'Pas de tableau pour cette épreuve']]],
  // The events run, the one in flight marked and shown first on a phone, then the one chosen,
  // kept; the ranks of the events over in the followed pilot's line. All of them, in slot
  // order, side by side on a laptop.
  journee: [['journee/?suivre=85#journee',
    ['classements', () => lire.tous('.epreuve-journee').map((a) => lire.textes('tbody tr', a).join()),
      classements(ETATS.journee).map((l) => l.map((p, i) => [i + 1, p.numero, p.nom1 + ' ' + p.nom2, p.points].join('')).join())],
    // A result, then a series without results.
    ['lignes des séries', () => [0, 12].map((k) => lire.textes('[data-epreuve="2"] .serie-journee li')[k]),
      ['10MARTIN Julie (échoué)0 pts', '46DESCHAMPS Claire']],
    ['lien #journee', () => [lire.visibles(), lire.visibles('.epreuve-journee')], ['journee', '2*']],
    ['ligne du pilote suivi', () => lire.texte('#suivis'), / · Jugement esthétique : 26e · Cassé de baguettes : 5e · Épreuve : 8e · /],
    async (p) => { await p.selectOption('#choix-epreuve', '0'); },
    ['épreuve choisie', () => lire.visibles('.epreuve-journee'), '0'],
    recharger('journee/'),
    ['épreuve retenue', () => lire.visibles('.epreuve-journee'), '0'],
    (p) => p.setViewportSize({ width: 1280, height: 800 }),
    ['portable', () => [lire.visibles(), lire.visibles('.epreuve-journee')],
      ['series,preparation,epreuve,coupe,tableau,journee', '0,1,2*']]]],
  // A shared link follows its pilot, once; a search by name (accents ignored) or number adds
  // one, three at most. Pilot 85 is 8th of the cup and flies in the 5th series; the 3rd has its
  // results, the 4th is to fly.
  suivis: [['mouvement/?suivre=85#coupe',
    ['ligne du pilote suivi', () => lire.textes('#suivis li'),
      ['85 <img src=x onerror=alert(1)> Pirate · Coupe : 8e, 251 pts · Épreuve : 8e · Série n° 5, dans 1 série×']],
    ['surligné dans chaque vue', () => lire.tous('.vues .suivi').length, 6],
    chercher('noel', '31 NOËL Lucie'), chercher('97', '97 BLANC Zoé'),
    ['pilotes suivis', () => lire.suivis(), ['85 <img src=x onerror=alert(1)> Pirate', '31 NOËL Lucie', '97 BLANC Zoé']],
    chercher('a'),
    ['un quatrième', () => lire.tous('.proposition:not(:disabled)').length, 0],
    (p) => p.getByRole('button', { name: /^Ne plus suivre .*Pirate/ }).click(),
    recharger(),
    ['après rechargement', () => [lire.visibles(), ...lire.suivis()], ['coupe', '31 NOËL Lucie', '97 BLANC Zoé']]]],
  // One view at a time on a phone, chosen by a tab and remembered. Nothing moves when the
  // device asks for reduced motion.
  onglets: [['mouvement/#coupe',
    (p) => p.click('.onglets a[data-vue=tableau]'),
    ['onglet Tableau', () => [location.hash, lire.visibles()], ['#tableau', 'tableau'], true],
    recharger('mouvement/'),
    ['onglet retenu', () => lire.visibles(), 'tableau'],
    ['un résultat arrivé ressort', () => lire.arrivee(), 'arrivee'],
    (p) => p.emulateMedia({ reducedMotion: 'reduce' }),
    ['mouvement réduit', () => lire.arrivee(), 'none']]],
  statut: [['pylones/?suivre=46,64', ...VIE_ETAPES]],
  // At a tablet's sizes, alone: what is at stake for each pilot (the default checks), the next
  // series, the one just flown and who moved, the screen kept awake while it shows; then a new
  // state, with a name that must stay text, drawn as it comes.
  annonceur: [['mouvement/#annonceur', taille(1024, 768),
    ['seule, dans l\'écran', () => [lire.visibles(), lire.defauts()], ['annonceur', []], true],
    ['prochaine série', () => [lire.texte('#vue-annonceur .sous-titre-bloc'), lire.textes('#vue-annonceur .prochaine td.numero')],
      [APRES.preparation.titre, APRES.preparation.pilotes.map((p) => String(p.numero))]],
    ['série précédente', () => [lire.texte('#vue-annonceur .precedente h3'), lire.textes('#vue-annonceur .precedente td.resultat')],
      ['Série précédente · Série n° 3', APRES.epreuves[2].series[2].pilotes.map((p) => (p.reussi ? 'Réussi' : 'Échoué'))]],
    ['qui a bougé dans la coupe', () => lire.tous('#vue-annonceur :is(.precedente, .leaders) tbody tr')
      .map((n) => n.dataset.numero + n.querySelector('.mouvement').textContent),
    [...APRES.epreuves[2].series[2].pilotes, ...APRES.classementCoupe.slice(0, 5)].map((l) => l.numero + fleche(l.numero))],
    ['écran gardé allumé', () => window.__veille, ['pris'], true],
    taille(1280, 800), ['1280 x 800', () => lire.defauts(), []], accessible,
    (p) => p.evaluate(async () => {
      const e = await (await fetch('etat.json')).json();
      e.epreuves[2].series[2].pilotes[0].nom1 = '<img src=x onerror=alert(1)>';
      window.__flux.dispatchEvent(new MessageEvent('etat', { data: JSON.stringify(e) }));
    }),
    ['suit l\'état, nom inerte', () => [lire.textes('#vue-annonceur .en-vol .nom')[0], lire.tous('.vues img').length],
      ['<img src=x onerror=alert(1)> Claire', 0], true],
    (p) => p.click('.onglets a[data-vue=coupe]'),
    ['écran rendu', () => window.__veille, ['pris', 'rendu'], true]],
  // The third series is called: the one just flown is the second.
  ['pylones/', ['série précédente, avant l\'appelée', () => lire.texte('#vue-annonceur .precedente h3'), 'Série précédente · Série n° 2']]],
  // A phone set to English: English on every tab (the default checks in English), no French
  // left on screen or on paper, no key missing in English; axe on every tab and on a laptop.
  // A link's ?lang= sets the language and the device keeps it; the band's switch changes it.
  langues: [
    ['anglais/?suivre=85',
      ['ligne du pilote suivi', () => lire.texte('#suivis'), / · Cup: 8th, 251 pts · Event: 8th · Series 5, in 2 series×$/],
      parOnglet(sansFrancais, accessible),
      (p) => p.emulateMedia({ media: 'print' }), sansFrancais, (p) => p.emulateMedia({ media: 'screen' }),
      (p) => p.click('.onglets a[data-vue=series]'), taille(1280, 800), accessible,
      () => Object.keys(FR).filter((k) => !(k in EN)).map((k) => 'clé absente en anglais : ' + k)],
    ['pylones/?lang=en#annonceur',
      ['lien ?lang=en', () => [document.documentElement.lang, lire.texte('#vue-annonceur h2'), location.search, location.hash],
        ['en', 'Announcer', '', '#annonceur']],
      recharger(),
      ['retenue', () => [document.documentElement.lang, lire.texte('.onglets a:first-child')], ['en', 'Series']],
      basculer,
      ['bascule', () => [document.documentElement.lang, lire.texte('#langue'), lire.texte('.onglets a:first-child')],
        ['fr', 'English', 'Séries']],
      recharger(),
      ['retenue après bascule', () => document.documentElement.lang, 'fr'],
      parOnglet(accessible), (p) => p.click('.onglets a[data-vue=series]'), taille(1280, 800), accessible],
    ['mouvement/incrustation?vue=serie', accessible], ['anglais/incrustation?vue=tableau', sansFrancais, accessible]],
  impression: [['papier/', papier]],
  // The sample has 30 pilots: "haut=40" shows them all, each row whole on the picture. The
  // hostile one has 60: a height out of 1 to 40 is brought back into it, one not a number is 10.
  incrustations: [['mouvement', 'coupe&haut=3', 3], ['mouvement', 'coupe&haut=40', 30], ['mouvement', 'tableau', 10],
    ['mouvement', 'serie', 6], ['hostile', 'coupe&haut=1000', 40], ['hostile', 'coupe&haut=0', 1],
    ['hostile', 'coupe&haut=-3', 1], ['hostile', 'coupe&haut=abc', 10]].map(([etat, vue, lignes]) => [`${etat}/incrustation?vue=${vue}`,
    // Its rows, whether they end in the picture and in the panel, its inner margin; nothing
    // painted around the panel, the panel opaque.
    ['lignes, marge, fond', () => {
      const b = document.querySelector('.panneau').getBoundingClientRect();
      const bas = lire.tous('.panneau tbody tr, .panneau li').map((n) => n.getBoundingClientRect().bottom);
      const bords = lire.tous('.panneau :is(.titre, .points, td:last-child, .chrono)').map((n) => n.getBoundingClientRect())
        .map((r) => Math.min(r.left - b.left, b.right - r.right, r.top - b.top));
      return [bas.length, Math.max(...bas) <= Math.min(1080, b.bottom), Math.min(24, ...bords),
      [document.documentElement, document.body, ...lire.tous('.incrustation, .panneau')]
        .map((n) => (getComputedStyle(n).backgroundColor.match(/[\d.]+/g)[3] ?? 1) > 0)];
    }, [lignes, true, 24, [false, false, false, true]]]]),
};

async function vues() {
  // The policy the station sends, read from its source so that both never part.
  const csp = String(fichier('web/serveurweb.cpp')).match(/politiqueContenu\[\] =\s*((?:"[^"]*"\s*)+);/)[1].replace(/"\s*"?/g, '');
  // Only the files of the station's resource, by their names there, as the station serves them.
  const fichiers = Object.fromEntries([...String(fichier('web/page/page.qrc')).matchAll(/alias="([^"]+)">([^<]+)</g)].map((a) => a.slice(1)));
  // Paths are /scenario/file. The stream brings the state once and asks for no retry soon.
  const servir = (requete) => {
    const [, scenario, ...chemin] = new URL(requete.request().url()).pathname.split('/');
    const nom = { '': 'index.html', incrustation: 'incrustation.html' }[chemin.join('/')] ?? chemin.join('/');
    const etats = [].concat(ETATS[scenario]).map((e) => JSON.stringify(e));
    const [type, corps] = { 'etat.json': ['application/json', etats.at(-1)], evenements: ['text/event-stream',
      'retry: 3600000\n\n' + etats.map((e) => `event: etat\ndata: ${e}\n\n`).join('')] }[nom]
      ?? [{ html: 'text/html', css: 'text/css', js: 'text/javascript' }[nom.split('.').at(-1)], fichiers[nom]];
    if (!corps) return requete.fulfill({ status: 404 });
    const entetes = { 'content-type': type + '; charset=utf-8', 'content-security-policy': csp };
    return requete.fulfill({ headers: entetes, body: fichiers[nom] ? fichier('web/page/' + corps) : corps });
  };
  const pages = new Map(); // address -> [view, step]...
  for (const [vue, entrees] of Object.entries(VUES))
    for (const [adresse, ...pas] of entrees) pages.set(adresse, [...(pages.get(adresse) ?? []), ...pas.map((p) => [vue, p])]);
  await Promise.all([contexte, contexteAnglais, contexteHorloge].map((c) => c.route('**/*', servir)));
  let [echec, port] = [false, 9000];
  for (const [adresse, pas] of pages) {
    // Each on an origin of its own, so that no page finds what another one stored.
    const [s, echecs] = [await ouvrir(`http://127.0.0.1:${port++}/${adresse}`), []];
    try {
      for (const [vue, p] of [['page', DEFAUTS], ...pas])
        echecs.push(...(await (Array.isArray(p) ? verifier(s.page, p, p[3] && DELAI) : p(s.page, s)) ?? []).map((m) => `${vue} · ${m}`));
    } catch (e) { echecs.push('arrêt : ' + e.message); }
    await clore(s, echecs);
    console.log((echecs.length ? 'ECHEC ' : 'OK ') + adresse + echecs.map((e) => '\n  ' + e).join(''));
    echec ||= echecs.length > 0;
  }
  return echec ? 1 : 0;
}

// ---- Test mode: the C++ test drives the station, the page must follow it by itself. ----

async function essai() {
  // The page follows the pilot its link names; the station goes away now and then.
  const s = await ouvrir(url, true);
  const repondre = async (echecs, reponse) => {
    echecs.push(...await fautes(s));
    console.log(echecs.length ? 'faute ' + echecs.join(' ; ') : reponse);
    return echecs.length === 0;
  };
  const suivi = (fin) => verifier(s.page, ['pilote suivi', () => lire.texte('#suivis'), fin], DELAI / 2);
  if (!await repondre(await suivi(/, dans \d+ séries?×$/), 'prêt')) return 1;
  for await (const ligne of createInterface({ input: process.stdin })) {
    const age = ligne.match(/^age (\S+) (\d+)$/);
    if (age) { console.log(await lireAge(age[1], Number(age[2]))); continue; }
    // The names in the series in flight, and the followed pilot flying.
    const noms = JSON.stringify(ligne.replace(/^attendre /, '').split('\t'));
    // In the series view and in the announcer's.
    const absents = `() => ${noms}.filter((n) => ['#vue-series .courante', '#vue-annonceur .en-vol']
      .some((vue) => !lire.textes(vue + ' .nom').includes(n)))`;
    if (!await repondre([...await verifier(s.page, ['absents de la série en vol', absents, []], DELAI / 2),
      ...await suivi(/· en vol×$/)], 'vu')) return 1;
  }
  return 0;
}

// The age a phone opened now reads (in French or English), s seconds after the sender went quiet: the stream may
// first give the stored state as new, the page must correct it within a few seconds. The HTTP
// dates are in whole seconds: from s - 2 s to s + 2 s and the time the reading took.
async function lireAge(adresse, s) {
  const [debut, n] = [Date.now(), await ouvrir(adresse)];
  // True once the age read is in range, else the status line.
  const lecture = `() => { const t = lire.texte('#etat-connexion'), [, min = 0, sec] = t.match(/(?:il y a|received) (?:(\\d+) min )?(\\d+) s(?: ago)?$/) ?? [];
    const a = min * 60 + Number(sec); return (a >= ${s - 2} && a <= ${s + 2} + (Date.now() - ${debut}) / 1000) || t; }`;
  const f = await clore(n, await verifier(n.page, [`âge ${s} s après la dernière trame`, lecture, true], 5000));
  return f.length ? 'faute ' + f.join(' ; ') : 'vu';
}

// ---- Follow mode: every view against the state the station publishes. ----

// The gaps between the views and a fresh /etat.json, once the page drew it within 10 s (the
// page checked comes to the front: one behind another draws at a crawl). A page that the
// stream took further meanwhile is asked again.
async function controler(page) {
  for (let essai = 1; ; essai++) {
    const e = await page.evaluate(async () => (window.__etat = await (await fetch('etat.json', { cache: 'no-store' })).json()));
    const plusLoin = () => window.__sequence > window.__etat.sequence;
    await verifier(page, ['', `() => (${plusLoin})() || !ecarts(window.__etat).length`, true], 10000);
    const diff = await verifier(page, ['écarts', () => ecarts(window.__etat), []]);
    if (!diff.length || essai === 10 || !await page.evaluate(plusLoin)) return { diff, sequence: e.sequence };
  }
}

async function suivre() {
  const option = (nom, defaut) => (reste.includes(nom) ? reste[reste.indexOf(nom) + 1] : defaut);
  const [duree, captures, debut] = [Number(option('--duree', '60')), option('--captures', ''), Date.now()];
  const [s, o] = [await ouvrir(url), reste.includes('--incrustation') && await ouvrir(new URL('incrustation?vue=serie', url).href)];
  let [controles, nbEcarts, sequence, immobile] = [0, 0, -1, 0];
  const ecart = (texte) => { nbEcarts++; console.error('écart : ' + texte); };
  while (Date.now() - debut < duree * 1000) {
    const r = await controler(s.page);
    controles++;
    if (o) r.diff.push(...(await controler(o.page)).diff);
    if (r.diff.length) ecart(r.diff.join(' ; '));
    // The simulator changes the contest every second: a still state is a stalled station.
    else if (r.sequence <= sequence && ++immobile >= 3) ecart('séquence immobile à ' + sequence);
    else if (r.sequence > sequence) [immobile, sequence] = [0, r.sequence];
    // The README's pictures, drawn by a tool of their own once the page shows the contest.
    if (captures && controles === Math.max(1, Math.floor(duree / 4))) {
      const { capturer } = await import('../../tools/captures/page.mjs');
      await capturer({ page: s.page, dossier: captures, ouvrir, contexte, delai: DELAI });
    }
    // A pace between two comparisons, not a wait for anything.
    await new Promise((r) => setTimeout(r, 2000));
  }
  for (const x of [s, o].filter(Boolean)) (await fautes(x)).forEach(ecart);
  console.log(`suivi ${Math.round((Date.now() - debut) / 1000)} s : ${controles} contrôles, ${nbEcarts} écarts`);
  return nbEcarts === 0 ? 0 : 1;
}

// Each mode gives the exit code; standard input may still be open.
const code = await { vues, essai, suivre }[mode]();
await navigateur.close().catch(() => {});
process.exit(code);
