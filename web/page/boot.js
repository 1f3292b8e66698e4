// Runs before the page's modules. A page opened as a file gets none of them (the browser
// loads no module and no WebAssembly from file:), so it is told here how to open it.
if (location.protocol === 'file:') {
  document.getElementById('loading').hidden = true;
  document.querySelector('main').hidden = true;
  document.getElementById('failure').hidden = false;
  document.querySelector('#failure [data-failure=file]').hidden = false;
}
