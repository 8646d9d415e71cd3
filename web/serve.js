// Serves a built page folder over HTTP on 127.0.0.1 with the MIME types browsers insist on.
//
//   node web/serve.js FOLDER [PORT]      (PORT 0 or absent: any free port)
//
// Prints "serving http://127.0.0.1:PORT/" once listening. Also used by the browser tests
// through its exported serve().
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
};

// Resolves with the listening server; its URL is `http://127.0.0.1:${server.address().port}/`.
function serve(folder, port = 0) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    let name;
    try {
      name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch (error) {
      response.writeHead(400).end();
      return;
    }
    if (name.endsWith('/')) name += 'index.html';
    const file = path.join(root, path.normalize(name));
    const readable = request.method === 'GET' || request.method === 'HEAD';
    if (!file.startsWith(root + path.sep) || !readable) {
      response.writeHead(readable ? 403 : 405).end();
      return;
    }
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
        return;
      }
      response.writeHead(200, {
        'Content-Type': types[path.extname(file)] || 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-store',
      });
      response.end(request.method === 'HEAD' ? undefined : body);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

module.exports = { serve };

if (require.main === module) {
  const [folder, port = '0'] = process.argv.slice(2);
  if (!folder || !/^\d+$/.test(port) || Number(port) > 65535) {
    console.error('usage: node web/serve.js FOLDER [PORT]');
    process.exit(2);
  }
  if (!fs.existsSync(path.join(folder, 'index.html'))) {
    console.error(`serve: ${folder}/index.html is missing; build the page with scripts/web`);
    process.exit(1);
  }
  serve(folder, Number(port)).then(
    (server) => console.log(`serving http://127.0.0.1:${server.address().port}/ (Ctrl-C stops)`),
    (error) => {
      console.error(`serve: cannot listen on port ${port}: ${error.message}`);
      process.exit(1);
    });
}
