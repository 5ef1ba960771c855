// The one place that speaks to the WebAssembly module: the page hands it the fields' texts as
// typed and lays out what comes back. Every number and every message is the module's.
import createKelmar from './kelmar.js';

export async function openCore() {
  const k = await createKelmar();
  const zone = (f) => ({ kind: f.zone, text: f.zone === 'gmt' ? f.EditGMT : f.EditMSK });
  const place = (f) => ({ lat: f.EditSir, lon: f.EditDolg });
  return {
    version: k.version,
    sun: (f) =>
      k.sunTable({
        ...place(f),
        year: f.year,
        month: f.month,
        zone: zone(f),
        twilight: { kind: f.twilight, text: f.twilight === 'angle' ? f.EditUg : f.EditKm },
        seconds: f.CheckBoxSec,
      }),
    sat: (f, date) => k.satTable({ ...place(f), compass: f.CheckBoxMagAz, date }),
    outage: (f) =>
      k.outage({ ...place(f), slot: f.ESlot, year: f.year, dish: f.EDish, freq: f.EFreq, zone: zone(f) }),
    locator: (lat, lon) => k.locator({ lat, lon }),
    skyScene: (args) => k.skyScene(args),
    yearScene: (args) => k.yearScene(args),
    readIni: (bytes) => k.readIni(bytes),
    writeIni: (state, previous) => k.writeIni(state, previous),
    addPlace: (places, name, lat, lon) => k.addPlace({ places, name, lat, lon }),
    deletePlace: (places, selected) => k.deletePlace({ places, selected }),
    deleteQuestion: (places, selected) => k.deleteQuestion({ places, selected }),
    pointing: (args) => k.pointing(args),
    alignment: (args) => k.alignment(args),
    aim: (args) => k.aim(args),
    horizonFromProfile: (text) => k.horizonFromProfile(text),
    slotNamesAt: (names, positions) => k.slotNamesAt(names, positions),
    slotName: (names, slot) => k.slotName(names, slot),
    namedPosition: (names, slot) => k.namedPosition(names, slot),
    setSlotName: (names, position, name) => k.setSlotName(names, position, name),
  };
}
