// The panel's numbers and pictures to take away: a text handed to the
// browser as a file of a given name, through a link with `download`, made
// for the moment (a blob: address of the page's own text; nothing is
// fetched).

const DOWNLOAD_TYPES = Object.freeze({
  csv: 'text/csv;charset=utf-8',
  svg: 'image/svg+xml;charset=utf-8',
});

// How long a file's address outlives the click that saves it.
const DOWNLOAD_KEEP_MS = 10_000;

// Saves `text` as `parts` joined by '-', with `extension` (csv or svg).
export function saveText(parts, extension, text) {
  const url = URL.createObjectURL(new Blob([text], { type: DOWNLOAD_TYPES[extension] }));
  const link = document.createElement('a');
  link.href = url;
  link.download = `${parts.join('-')}.${extension}`;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), DOWNLOAD_KEEP_MS);
}
