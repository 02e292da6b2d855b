// Follows the station's results page in Chromium at a phone's size, as a spectator sees it.
//
//   node suivre.mjs essai URL
//     Prints "prêt" once the first series are drawn, then obeys its standard input, one
//     command a line:
//       attendre ["texte", ...]  prints "vu" once the series in flight (#vue-series
//                                .courante) shows each text as a pilot's name, or
//                                "faute <raison>" as soon as the page misbehaves;
//       coupure                  the station is going away: failed loads are expected.
//     Any reload, dialog, script error, console error or CSP violation is a fault.
//   node suivre.mjs suivre URL [--duree S] [--captures DOSSIER]
//     Every 2 s compares each view with /etat.json fetched from the page; prints
//     "suivi N s : K contrôles, E écarts" and exits 1 on any gap.
import { chromium } from 'playwright-core';
import { createInterface } from 'node:readline';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';

const CHROMIUM = process.env.VELLOR_CHROMIUM || '/usr/bin/chromium';
const [mode, url, ...reste] = process.argv.slice(2);
if (!['essai', 'suivre'].includes(mode) || !url) {
  console.error('usage : suivre.mjs essai URL | suivre URL [--duree S] [--captures DOSSIER]');
  process.exit(2);
}
function option(nom, defaut) {
  const i = reste.indexOf(nom);
  return i >= 0 && i + 1 < reste.length ? reste[i + 1] : defaut;
}
const attendre = (ms) => new Promise((r) => setTimeout(r, ms));
function dire(ligne) { process.stdout.write(ligne + '\n'); }

// Runs in the page before its own script: records CSP violations and the sequence of each
// state the event stream brought, so that checks can tell a stale view from a wrong one.
function sonde() {
  window.__suivi = { violations: [], sequence: -1, recus: 0 };
  document.addEventListener('securitypolicyviolation', (e) => {
    window.__suivi.violations.push(e.violatedDirective + ' ' + e.blockedURI);
  });
  const Origine = window.EventSource;
  window.EventSource = class extends Origine {
    constructor(...args) {
      super(...args);
      this.addEventListener('etat', (ev) => {
        try { window.__suivi.sequence = JSON.parse(ev.data).sequence; } catch (err) { /* shown as is */ }
        window.__suivi.recus++;
      });
    }
  };
}

const navigateur = await chromium.launch({ executablePath: CHROMIUM, args: ['--no-sandbox'] });
const contexte = await navigateur.newContext({
  viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, deviceScaleFactor: 2,
  locale: 'fr-FR',
});
// A string, not a function: the follow mode's checker is defined further down.
await contexte.addInitScript({ content: `(${sonde})(); window.__ecarts = ${ecarts};` });
const page = await contexte.newPage();

const fautes = [];
let coupure = false;
let chargements = 0;
page.on('dialog', (d) => { fautes.push('dialogue ouvert : ' + d.message()); d.dismiss().catch(() => {}); });
page.on('pageerror', (e) => fautes.push('erreur de script : ' + e.message));
page.on('console', (m) => {
  if (m.type() !== 'error') return;
  // While the station is down, the browser reports each failed reconnection.
  if (coupure && /net::ERR_|Failed to load resource/.test(m.text())) return;
  fautes.push('erreur console : ' + m.text() + ' (' + m.location().url + ')');
});
page.on('framenavigated', (f) => { if (f === page.mainFrame()) chargements++; });

async function finir(code) {
  await navigateur.close().catch(() => {});
  process.exit(code);
}

await page.goto(url);
await page.waitForSelector('#vue-series .serie', { timeout: 30000 });

if (mode === 'essai') await essai();
else await suivre();

// ---- Test mode: the C++ test drives the station, the page must follow it by itself. ----

async function fautesDeLaPage() {
  const dansLaPage = await page.evaluate(() => ({
    images: document.querySelectorAll('img').length,
    violations: window.__suivi.violations,
  }));
  const toutes = [...fautes];
  if (dansLaPage.images > 0) toutes.push(dansLaPage.images + ' élément(s) <img> dans la page');
  for (const v of dansLaPage.violations) toutes.push('violation CSP : ' + v);
  if (chargements !== 1) toutes.push('page rechargée (' + chargements + ' chargements)');
  return toutes;
}

async function essai() {
  dire('prêt');
  const lignes = createInterface({ input: process.stdin });
  for await (const ligne of lignes) {
    const [commande, ...args] = ligne.trim().split(' ');
    if (commande === 'coupure') {
      coupure = true;
      dire('coupure notée');
    } else if (commande === 'attendre') {
      const attendus = JSON.parse(args.join(' '));
      for (;;) {
        const noms = await page.evaluate(() => Array.from(
          document.querySelectorAll('#vue-series .serie.courante .nom'), (n) => n.textContent));
        const problemes = await fautesDeLaPage();
        if (problemes.length > 0) {
          dire('faute ' + problemes.join(' ; '));
          return finir(1);
        }
        if (attendus.every((a) => noms.includes(a))) break;
        await attendre(100);
      }
      dire('vu');
    }
  }
  await finir(0);
}

// ---- Follow mode: every view against the state the station publishes. ----

// Runs in the page: the differences between the views and the state e, as texts.
function ecarts(e) {
  const diff = [];
  const txt = (n) => (n ? n.textContent : '');
  const tous = (racine, sel) => Array.from(document.querySelectorAll(racine + ' ' + sel), txt);
  const nom = (p) => String(p.nom1) + ' ' + String(p.nom2);
  const memes = (quoi, vus, voulus) => {
    if (JSON.stringify(vus) !== JSON.stringify(voulus))
      diff.push(quoi + ' : vu ' + JSON.stringify(vus).slice(0, 200) + ', attendu ' +
        JSON.stringify(voulus).slice(0, 200));
  };
  const epreuve = e.epreuveEnCours;
  const series = epreuve >= 0 && epreuve < 5 ? e.epreuves[epreuve].series : [];
  const cartes = Array.from(document.querySelectorAll('#vue-series .serie'));
  memes('nombre de séries', cartes.length, series.length);
  series.forEach((s, k) => {
    if (!cartes[k]) return;
    memes('série ' + (k + 1), Array.from(cartes[k].querySelectorAll('.nom'), txt), s.pilotes.map(nom));
    memes('série ' + (k + 1) + ' en vol', cartes[k].classList.contains('courante'), k === e.serieCourante);
  });
  const temps = [e.tempsEcoule || '00:00', e.tempsRestant || '00:00'];
  memes('chronomètres des séries', tous('#vue-series', '[data-role=chrono] .temps'), temps);
  memes('chronomètres du tableau', tous('#vue-tableau', '[data-role=chrono] .temps'), temps);
  const prep = e.preparation.trouvee === false ? [] : e.preparation.pilotes;
  memes('préparation', tous('#vue-preparation', 'tbody .pilote'),
    prep.map((p) => String(p.nom2) + ' ' + String(p.nom1)));
  memes('classement de l\'épreuve', tous('#vue-classement-epreuve', 'tbody tr'), e.classementEpreuve.map((l, i) =>
    [i + 1, l.numero, nom(l), l.points].join('')));
  memes('classement de la coupe', tous('#vue-classement-coupe', '.ligne-coupe .nom'),
    e.classementCoupe.map(nom));
  if (epreuve >= 1 && epreuve < 5)
    memes('tableau', tous('#vue-tableau', 'tbody .pilote').slice(0, 10)
      .filter((t) => t !== ''), e.tableauEpreuve.slice(0, 10).map(nom));
  return diff;
}

// Compares the views with a fresh /etat.json. The views may lag one event behind or be one
// ahead: only a state that the page also received and has since drawn counts as a gap.
async function controler() {
  let dernier = [];
  for (let essai = 0; essai < 10; essai++) {
    const r = await page.evaluate(async () => {
      const e = await (await fetch('etat.json', { cache: 'no-store' })).json();
      const avant = window.__suivi.sequence;
      await new Promise(requestAnimationFrame);
      await new Promise(requestAnimationFrame);
      const diff = window.__ecarts(e);
      const stable = avant === e.sequence && window.__suivi.sequence === e.sequence;
      return { diff, stable, sequence: e.sequence };
    });
    if (r.diff.length === 0) return { ok: true, sequence: r.sequence };
    dernier = r.diff;
    if (r.stable) break;
    await attendre(150);
  }
  return { ok: false, diff: dernier };
}

async function capturer(dossier) {
  mkdirSync(dossier, { recursive: true });
  const sansFondu = () => page.waitForFunction(() =>
    !document.getElementById('titre-classement-coupe').classList.contains('efface'));
  await page.evaluate(() => window.scrollTo(0, 0));
  await sansFondu();
  await page.screenshot({ path: join(dossier, 'page-telephone-series.png') });
  // The header stays on top: the classification's title goes just below it.
  await page.evaluate(() => window.scrollTo(0, window.scrollY - 8 +
    document.getElementById('vue-classement-coupe').getBoundingClientRect().top -
    document.querySelector('.bandeau').getBoundingClientRect().height));
  await sansFondu();
  await page.screenshot({ path: join(dossier, 'page-telephone-coupe.png') });
  await page.evaluate(() => window.scrollTo(0, 0));
}

async function suivre() {
  const duree = Number(option('--duree', '60'));
  const captures = option('--captures', '');
  const debut = Date.now();
  let controles = 0;
  let nbEcarts = 0;
  let sequence = -1;
  let immobile = 0;
  while (Date.now() - debut < duree * 1000) {
    const r = await controler();
    controles++;
    if (!r.ok) {
      nbEcarts++;
      console.error('écart : ' + r.diff.join(' ; '));
    } else if (r.sequence <= sequence) {
      // The simulator changes the contest every second: a still state is a stalled page.
      if (++immobile >= 3) {
        nbEcarts++;
        console.error('écart : séquence immobile à ' + sequence);
      }
    } else {
      immobile = 0;
      sequence = r.sequence;
    }
    if (captures && controles === Math.max(1, Math.floor(duree / 4))) await capturer(captures);
    await attendre(2000);
  }
  for (const f of await fautesDeLaPage()) {
    nbEcarts++;
    console.error('écart : ' + f);
  }
  dire(`suivi ${Math.round((Date.now() - debut) / 1000)} s : ${controles} contrôles, ${nbEcarts} écarts`);
  await finir(nbEcarts === 0 ? 0 : 1);
}
