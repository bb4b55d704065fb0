// The palette analysis computed with culori, an independent colour library,
// for the analysis tests to compare with.
//
//   node reference.mjs INPUT OUTPUT
//
// INPUT holds whitespace-separated integers: the number of palettes, then
// each palette's 256 entries as red, green, blue. OUTPUT gets, per palette,
// lines of a name and its values: L (256 values), step (255), seam (1), and
// protan, deutan, tritan, grey (768 bytes each).
import { readFileSync, writeFileSync } from 'node:fs';
import {
	converter,
	differenceEuclidean,
	filterDeficiencyDeuter,
	filterDeficiencyProt,
	filterDeficiencyTrit
} from 'culori';

const [input, output] = process.argv.slice(2);
const numbers = readFileSync(input, 'utf8').trim().split(/\s+/).map(Number);

const oklab = converter('oklab');
const lrgb = converter('lrgb');
const rgb = converter('rgb');
const distance = differenceEuclidean('oklab');

const clamp = v => Math.min(1, Math.max(0, v));
const bytes = c => [c.r, c.g, c.b].map(v => Math.round(clamp(v) * 255));

// culori's deficiency filters (severity 1 picks the last of the published
// matrices of Machado, Oliveira and Fernandes) multiply the channels of the
// colour in culori's 'rgb' mode, which is gamma-encoded sRGB. The model is
// defined on linear RGB, so each entry's linear values are handed to the
// filter dressed as an 'rgb' colour, and what comes back is read as linear.
const filters = [filterDeficiencyProt(1), filterDeficiencyDeuter(1), filterDeficiencyTrit(1)];
function simulate(filter, colour) {
	const lin = lrgb(colour);
	const out = filter({ mode: 'rgb', r: lin.r, g: lin.g, b: lin.b });
	return bytes(rgb({ mode: 'lrgb', r: clamp(out.r), g: clamp(out.g), b: clamp(out.b) }));
}

const lines = [];
const count = numbers[0];
for (let p = 0; p < count; ++p) {
	const base = 1 + p * 768;
	const colours = [];
	for (let i = 0; i < 256; ++i) {
		const [r, g, b] = numbers.slice(base + 3 * i, base + 3 * i + 3);
		colours.push({ mode: 'rgb', r: r / 255, g: g / 255, b: b / 255 });
	}
	const labs = colours.map(c => oklab(c));
	const steps = [];
	for (let i = 0; i < 255; ++i) steps.push(distance(labs[i], labs[i + 1]));
	lines.push('L ' + labs.map(c => String(c.l)).join(' '));
	lines.push('step ' + steps.map(String).join(' '));
	lines.push('seam ' + String(distance(labs[255], labs[0])));
	['protan', 'deutan', 'tritan'].forEach((name, k) => {
		lines.push(name + ' ' + colours.flatMap(c => simulate(filters[k], c)).join(' '));
	});
	// The grey of an entry's lightness: OKLab with the same L and no colour.
	const greys = labs.flatMap(c => bytes(rgb({ mode: 'oklab', l: c.l, a: 0, b: 0 })));
	lines.push('grey ' + greys.join(' '));
}
writeFileSync(output, lines.join('\n') + '\n');
