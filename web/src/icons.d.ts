declare module '*.svg' {
  const markup: string;
  export default markup;
}
