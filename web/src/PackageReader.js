// Reading a package archive: the model file "N\N.qel" and the texture files "N\x.jpx" that its
// materials name. Pure: bytes in, model and texture bytes out.
import { KeyedFileError, unkeyFile } from './KeyedStream.js';
import { ModelFileError, parseModelFile } from './ModelFile.js';
import { ZipArchive, ZipError, bytesToBinary, entryFileName } from './ZipArchive.js';

export class PackageError extends Error {
  // kind: 'archive' (not a readable zip), 'noModel' (no model file in it), 'model' (the model
  // file is damaged).
  constructor(kind, detail = '') {
    super(detail || kind);
    this.name = 'PackageError';
    this.kind = kind;
  }
}

function baseName(reference) {
  const name = entryFileName(reference);
  const dot = name.lastIndexOf('.');
  return dot > 0 ? name.slice(0, dot) : name;
}

// The model file of the archive. The page gives the package name as text and the archive
// holds bytes, so when there is a single .qel entry it is the one, whatever its name; among
// several, the one named after the page's archive (UTF-8), else the last (the writer puts the
// model file last).
export function findModelEntry(archive, modelReference) {
  const candidates = archive.entries.filter((entry) => /\.qel$/i.test(entry.name));
  if (candidates.length <= 1) return candidates[0] ?? null;
  const wanted = bytesToBinary(new TextEncoder().encode(`${baseName(modelReference)}.qel`));
  return candidates.find((entry) => entryFileName(entry.name) === wanted) ?? candidates[candidates.length - 1];
}

function packageErrorOf(error) {
  if (error instanceof ZipError) return new PackageError('archive', error.message);
  if (error instanceof ModelFileError || error instanceof KeyedFileError) return new PackageError('model', error.message);
  return error;
}

export class PackageReader {
  // zipBytes: the archive; modelReference: the page's Model value ("./N.zip"); onProgress(share)
  // while the model file is read; inScript: inflate in script even where the browser could (it
  // then takes no time of the page's own, which a virtual time budget would spend). Resolves to
  // the reader with its model; rejects with a PackageError.
  static async open(zipBytes, modelReference, onProgress, { inScript = false } = {}) {
    const reader = new PackageReader(zipBytes, modelReference, onProgress, { readModel: false });
    try {
      // An inflated entry is a fresh array of its own, unkeyed where it is.
      const fresh = reader.archive.isCompressed(reader.modelEntry);
      const bytes = inScript ? reader.archive.read(reader.modelEntry) : await reader.archive.readAsync(reader.modelEntry);
      reader.model = parseModelFile(bytes, onProgress, { inPlace: fresh });
    } catch (error) {
      throw packageErrorOf(error);
    }
    return reader;
  }

  // The reader of the archive and its model, read here (inflating in script) unless readModel
  // is false (open() reads it then).
  constructor(zipBytes, modelReference, onProgress = () => {}, { readModel = true } = {}) {
    try {
      this.archive = new ZipArchive(zipBytes);
    } catch (error) {
      if (error instanceof ZipError) throw new PackageError('archive', error.message);
      throw error;
    }
    this.modelEntry = findModelEntry(this.archive, modelReference);
    if (!this.modelEntry) throw new PackageError('noModel');
    this.model = null;
    if (!readModel) return;
    try {
      this.model = parseModelFile(this.archive.read(this.modelEntry), onProgress);
    } catch (error) {
      throw packageErrorOf(error);
    }
  }

  // The image bytes of a texture file named by a material (a binary-string name such as
  // "brick.jpx"), or null when the archive lacks it or it is damaged: the material is then
  // drawn without that map.
  textureBytes(name) {
    const entry = this.archive.findByFileName(name);
    if (!entry) return null;
    try {
      return unkeyFile(this.archive.read(entry));
    } catch (error) {
      if (error instanceof ZipError || error instanceof KeyedFileError) return null;
      throw error;
    }
  }

  // Every map name of the model's materials, once each.
  mapNames() {
    const names = new Set();
    for (const m of this.model.materials) {
      for (const name of [m.textureMap, m.alphaMap, m.bumpMap, m.envMap]) if (name) names.add(name);
    }
    return [...names];
  }
}
