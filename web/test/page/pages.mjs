// Changes to the applet block of a published page, written as the package writer writes its
// lines, so the viewer can be tried with other settings without another publish.

// changes: { size: [width, height], params: { Name: 'value' or null to drop the line } }.
export function withApplet(html, { size, params = {} }) {
  const start = html.indexOf('<applet ');
  const end = html.indexOf('</applet>', start);
  if (start < 0 || end < 0) throw new Error('the page has no applet block');
  let block = html.slice(start, end);
  if (size) {
    block = block.replace(/width="\d+" height="\d+"/, `width="${size[0]}" height="${size[1]}"`);
  }
  for (const [name, value] of Object.entries(params)) {
    block = block.replace(new RegExp(`<param name="${name}" value="[^"]*">\\r\\n`), '');
    if (value !== null) block += `<param name="${name}" value="${value}">\r\n`;
  }
  return html.slice(0, start) + block + html.slice(end);
}
