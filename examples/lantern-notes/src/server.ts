// Lantern Notes — HTTP entry point (placeholder for the sample project).
import { createServer } from "node:http";

const port = Number(process.env.PORT ?? 8080);

createServer((_req, res) => {
  res.writeHead(200, { "content-type": "text/plain; charset=utf-8" });
  res.end("Lantern Notes is running.\n");
}).listen(port);
